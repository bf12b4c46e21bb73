#include "benchcall.h"

#include <QApplication>

BenchCall::BenchCall(QWidget *window)
    : m_window(window)
    , m_alert([](QWidget *shown) { QApplication::alert(shown); })
{
}

void BenchCall::call()
{
    if (m_attention)
        m_alert(m_window);
    if (m_sound)
        QApplication::beep();
}
