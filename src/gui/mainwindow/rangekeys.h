// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

namespace zerwa {

class TForm1;

// The keys of the commands on the marked cells, in the grid and its open cell editor:
// Ctrl+Return and the keypad's Ctrl+Enter fill, Ctrl+I interpolates from the corners, Ctrl+M
// opens the range dialog, Ctrl+Shift+V adds the copied block. Keys only: the grid's menu and
// the window stay as they are.
class RangeKeys : public QObject {
    Q_OBJECT
public:
    explicit RangeKeys(TForm1& form);

    void fill();
    void interpolate();
    void askOperation();
    void addFromClipboard();

private:
    TForm1& m_form;
};

} // namespace zerwa
