#pragma once

#include "core/port/portscan.h"

#include <QDialog>

class QComboBox;
class QLabel;

// The port dialog: the built-in ports that can be opened right now, the USB
// and ACM adapters the system knows (each by its /dev/serial/by-id name where
// it has one, so it keeps its name from one plug-in to the next), the current
// one preselected, the baud rate shown but fixed. The list is read again each
// time it drops down. It can be typed into, for a device path of the
// technician's own; its last entry is the program's own simulated module,
// which is never chosen for the technician.
class setcom : public QDialog
{
    Q_OBJECT

public:
    setcom(const QString &port, int baudrate, QWidget *parent, const DeviceLookup &lookup = {});

    QString port() const;
    int baudrate() const;

protected:
    void changeEvent(QEvent *event) override;

private:
    void readPorts(const QString &wanted);
    void portTyped(const QString &text);
    void retranslateUi();

    QComboBox *m_ports;
    QComboBox *m_baudrates;
    QLabel *m_portLabel;
    QLabel *m_baudLabel;
    QLabel *m_hint;
    DeviceLookup m_lookup;
    QList<PortEntry> m_entries;
    QString m_typed;  // a port typed in, not in the list
};
