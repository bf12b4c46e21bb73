#pragma once

#include "command.h"
#include "core/phones/contactsfile.h"
#include "core/phones/phonebook.h"
#include "core/phones/phoneimport.h"

#include <optional>

// "phones import" puts the numbers of a vCard or CSV file into a content
// file's free telephone rows; "phones export" writes a content file's
// numbers as either.
class PhonesCommand : public Command
{
public:
    QString name() const override { return QStringLiteral("phones"); }
    QString summary() const override;
protected:
    void configure(QCommandLineParser &parser) override;
    int execute(QCommandLineParser &parser) override;

private:
    int importNumbers(QCommandLineParser &parser, const QString &contactsPath);
    int exportNumbers(QCommandLineParser &parser, const QString &contentPath);
    std::optional<ContactsRead> readContactsFile(const QCommandLineParser &parser, const QString &path) const;
    bool keepNames(const QString &output, const QList<ChosenNumber> &chosen) const;
    static PhoneBook phoneBookBeside(const QString &contentPath);
};
