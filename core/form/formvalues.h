#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// The configuration form is the program's data model. Its 44 line edits and
// 64 check boxes, taken in the order the form creates them, are a record
// layout shared by the content file, the device record and the module's
// answer. This header is that layout, free of widgets.

inline constexpr int FieldItemCount = 28;      // smskp … r27
inline constexpr int TelephoneCount = 16;      // t1 … t16
inline constexpr int LineEditCount = FieldItemCount + TelephoneCount;
inline constexpr int RequiredFieldCount = 16;  // the visible fields
inline constexpr int BoxesPerTelephone = 4;  // a telephone row's permission boxes
inline constexpr int CheckBoxCount = TelephoneCount * BoxesPerTelephone;
inline constexpr int RecordItemWidth = 16;   // the slot each text takes in the record

struct LineEditSpec
{
    QString name;
    int maxLength;
};

struct CheckBoxSpec
{
    QString name;   // tc<column>_<row>
    QString group;  // "<group>.<bit>"
};

// Where a permission box stands: column 1..4 (input alarm bit 2, bit 1,
// output control bit 2, bit 1), row 1..16 (its telephone number).
struct CheckBoxPlace
{
    int column = 0;
    int row = 0;
};
// What each column of a row's boxes means, as the form's headings say:
// the alarm columns are headed "2 1" for input 2 and input 1, the control
// columns likewise for the module's two outputs, output 4 and output 3.
enum PermissionColumn {
    AlarmInput2Column = 1,
    AlarmInput1Column = 2,
    ControlOutput4Column = 3,
    ControlOutput3Column = 4,
};

// The form-order index of the box in `column` of telephone row `row`.
int permissionBoxIndex(int column, int row);

// The place a "tc<column>_<row>" name stands for, or nothing.
std::optional<CheckBoxPlace> checkBoxPlace(const QString &name);

// A box's "group" property: group g and bit b of "g.b".
struct PermissionBit
{
    int group = 0;
    int bit = 0;
};
// A group "g.b" cut into its two pieces, as a split at every dot gives the
// first and the last; a piece that is no integer is left out. The one place
// a group is read: a download refuses what permissionBit() refuses, while a
// module's answer needs only the group and reads a bad bit as an empty box.
struct PermissionPieces
{
    std::optional<int> group;
    std::optional<int> bit;
};
PermissionPieces permissionPieces(const QString &group);
// Nothing when either piece is no integer or the bit is outside 1..30.
std::optional<PermissionBit> permissionBit(const QString &group);
// What a checked box of bit b adds to its group's digit, and what a digit
// must hold for the box to be read back checked.
inline constexpr int permissionMask(int bit) { return 1 << (bit - 1); }

// The relay time as the record carries it and the module gives it back:
// four characters, zeros in front.
QString relayTimeAsStored(const QString &text);
inline const QString RelayTimeField = QStringLiteral("rele_time");

// The 44 line edits, in form order.
const QList<LineEditSpec> &lineEditCatalogue();
// Where the line edit of that object name stands in form order, or -1.
int lineEditIndex(const QString &name);
// Whether `length` characters are more than line edit `index` holds: the
// one "too long" rule of files, manifests and the command line.
bool isTooLong(int index, qsizetype length);
// `text` cut to what line edit `index` holds, as a file or a module's answer
// that holds more is read; a field past the form's keeps a record slot.
QString fittedToField(int index, const QString &text);
// The 64 permission check boxes, in form order (row 1 column by column,
// every later row as tc4, tc1, tc3, tc2).
const QList<CheckBoxSpec> &checkBoxCatalogue();
// Where the check box of that object name stands in form order, or -1.
int checkBoxIndex(const QString &name);

// What the form holds, as plain values in form order.
struct FormValues
{
    QStringList texts;        // one per line edit
    QList<bool> checked;      // one per check box
    QStringList groups;       // each check box's "group" property

    bool operator==(const FormValues &) const = default;
};

// The form as it looks right after start-up.
FormValues initialFormValues();

// The network operators offered beside the SMS-centre field.
struct SmsOperator
{
    QString name;    // empty for the custom entry
    QString number;  // empty for the custom entry
};
const QList<SmsOperator> &smsOperators();
// Index of the operator whose number is `number`; the custom entry otherwise.
int operatorIndexForNumber(const QString &number);
