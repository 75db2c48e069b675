// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <stdexcept>

namespace zerwa {

// A serial port that cannot be used; the text is shown to the user as it stands.
class SerialPortError : public std::runtime_error {
public:
    explicit SerialPortError(const QString& message)
        : std::runtime_error(message.toStdString()) {}
    QString message() const { return QString::fromUtf8(what()); }
};

} // namespace zerwa
