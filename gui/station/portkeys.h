#pragma once

#include <QKeySequence>
#include <QString>

// The key that starts each of a station's ports, shown on its tile: 1 to 9,
// 0 for the tenth, then A to F, so that every one of 16 ports has one key,
// the same on any keyboard layout.
namespace PortKeys {

constexpr int Count = 16;

// For port `index` (0 for the first); empty past the last.
inline QKeySequence sequence(int index)
{
    if (index < 0 || index >= Count)
        return {};
    if (index < 9)
        return QKeySequence(Qt::Key_1 + index);
    if (index == 9)
        return QKeySequence(Qt::Key_0);
    return QKeySequence(Qt::Key_A + (index - 10));
}

// The same key with Ctrl: the tile's last label again.
inline QKeySequence reprintSequence(int index)
{
    const QKeySequence plain = sequence(index);
    return plain.isEmpty() ? plain : QKeySequence(QKeyCombination(Qt::ControlModifier, plain[0].key()));
}

inline QString text(int index)
{
    return sequence(index).toString(QKeySequence::NativeText);
}

// The port whose key typed `typed` (either case); -1 for none.
inline int indexOf(const QString &typed)
{
    for (int index = 0; index < Count; ++index) {
        if (typed.compare(text(index), Qt::CaseInsensitive) == 0)
            return index;
    }
    return -1;
}

} // namespace PortKeys
