#include "fieldcaptions.h"

#include "core/form/formvalues.h"

#include <QCoreApplication>

namespace {

// In the form's order. The captions of be1_off_msg and be2_on_msg are not a
// slip: the texts run input 1 on, input 2 on, input 1 off, input 2 off.
const char *const Captions[] = {
    QT_TRANSLATE_NOOP("MainWindow", "SMS központ:"),
    QT_TRANSLATE_NOOP("MainWindow", "Modul PIN-kód:"),
    QT_TRANSLATE_NOOP("MainWindow", "Modul azonosító:"),
    QT_TRANSLATE_NOOP("MainWindow", "Modul neve:"),
    QT_TRANSLATE_NOOP("MainWindow", "Visszaállás:"),
    QT_TRANSLATE_NOOP("MainWindow", "1-es bemenet neve:"),
    QT_TRANSLATE_NOOP("MainWindow", "2-es bemenet neve:"),
    QT_TRANSLATE_NOOP("MainWindow", "Relé meghúzási idő:"),
    QT_TRANSLATE_NOOP("MainWindow", "3-as kimenet bekapcsoláskor:"),
    QT_TRANSLATE_NOOP("MainWindow", "4-es kimenet bekapcsoláskor:"),
    QT_TRANSLATE_NOOP("MainWindow", "3-as kimenet kikapcsoláskor:"),
    QT_TRANSLATE_NOOP("MainWindow", "4-es kimenet kikapcsoláskor:"),
    QT_TRANSLATE_NOOP("MainWindow", "1-es bemenet bekapcsoláskor:"),
    QT_TRANSLATE_NOOP("MainWindow", "2-es bemenet bekapcsoláskor:"),
    QT_TRANSLATE_NOOP("MainWindow", "1-es bemenet kikapcsoláskor:"),
    QT_TRANSLATE_NOOP("MainWindow", "2-es bemenet kikapcsoláskor:"),
};
static_assert(std::size(Captions) == RequiredFieldCount);

const char *const CustomOperator = QT_TRANSLATE_NOOP("MainWindow", "Egyéni");

} // namespace

QString fieldCaption(int field)
{
    if (field < 0 || field >= int(std::size(Captions)))
        return {};
    return QCoreApplication::translate("MainWindow", Captions[field]);
}

QString operatorName(int index)
{
    const QString name = smsOperators().value(index).name;
    return name.isEmpty() ? QCoreApplication::translate("MainWindow", CustomOperator) : name;
}
