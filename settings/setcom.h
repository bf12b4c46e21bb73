#pragma once

#include "portscan.h"

#include <QDialog>

class QComboBox;
class QLabel;

// The port dialog: the ports that can be opened right now, the current one
// preselected, the baud rate shown but fixed. The list can be typed into, for
// a device path of the technician's own; its last entry is the program's own
// simulated module, which is never chosen for the technician.
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
    void retranslateUi();

    QComboBox *m_ports;
    QComboBox *m_baudrates;
    QLabel *m_portLabel;
    QLabel *m_baudLabel;
    QLabel *m_hint;
    PortScan m_scan;
};
