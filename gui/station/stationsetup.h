#pragma once

#include "core/form/formvalues.h"
#include "core/journal/journallocation.h"
#include "core/port/portscan.h"
#include "stationchoices.h"

#include <QWidget>

#include <functional>
#include <optional>

class QCheckBox;
class QComboBox;
class QFormLayout;
class QLabel;
class QSpinBox;
class QLineEdit;
class QListWidget;
class QPushButton;

// The template a batch starts from: the main window's form as it stands,
// with where it came from as the window names it.
struct StationTemplate
{
    FormValues form;
    QString origin;  // "Kovács kapu.t16", "Napló #12", with "*" when changed since
};
using TemplateSource = std::function<StationTemplate()>;

// The station's set-up: the journal, the template (the form as it stands
// when the batch starts, or a content file), the manifest, the ports, the
// backup folder, labels and how the bench calls. The choices are kept per
// user and come back the next time.
class StationSetup : public QWidget
{
    Q_OBJECT

public:
    StationSetup(const JournalLocation &journal, const DeviceLookup &lookup, TemplateSource form, QWidget *parent);

    // The template a batch starts from now: the file chosen, else the form
    // as it stands; shown with its origin.
    StationTemplate currentTemplate() const;
    void showTemplate();
    QString manifest() const;
    QStringList ports() const;
    QString backupFolder() const;  // empty: new modules, no backup
    bool autoLabels() const;
    QString labelSize() const;
    QString labelFolder() const;
    void setLabelFolder(const QString &folder);
    // A port by its path, added to the list and ticked.
    void addPortPath(const QString &path);
    // The first free place of the sheet on the printer (0 for the first).
    void setFirstPlace(int place);
    void setPrinterName(const QString &name);
    bool titleCount() const;
    StationChoices choices() const;
    void applyChoices(const StationChoices &choices);
    // While a batch opens, nothing in the set-up changes.
    void setOpening(bool opening);

signals:
    void beginRequested();
    void printerRequested();
    void soundChanged(bool on);
    void attentionChanged(bool on);
    void titleCountChanged(bool on);
    void firstPlaceChanged(int place);  // 0 for a sheet's first

private:
    void addTemplateRow(QFormLayout *form);
    void addLabelRows(QFormLayout *form);
    void addCallRow(QFormLayout *form);
    void chooseTemplateFile();

    TemplateSource m_form;
    std::optional<StationTemplate> m_file;  // a content file chosen instead of the form
    QString m_printer;                      // empty: labels go to PDF files
    QLabel *m_template = nullptr;
    QPushButton *m_useForm = nullptr;
    QLineEdit *m_manifest = nullptr;
    QListWidget *m_portList = nullptr;
    QLineEdit *m_backup = nullptr;
    QCheckBox *m_fresh = nullptr;  // new modules: nothing to keep, no backup
    QCheckBox *m_autoLabels = nullptr;
    QComboBox *m_labelSize = nullptr;
    QLineEdit *m_labelFolder = nullptr;
    QLabel *m_printerName = nullptr;
    QSpinBox *m_firstPlace = nullptr;
    QLineEdit *m_portPath = nullptr;
    QCheckBox *m_callSound = nullptr;
    QCheckBox *m_callAttention = nullptr;
    QCheckBox *m_titleCount = nullptr;
    QPushButton *m_begin = nullptr;
};
