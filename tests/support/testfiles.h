#pragma once

#include <QByteArray>
#include <QString>

namespace zerwa::test {

QByteArray readBytes(const QString& path);
void writeBytes(const QString& path, const QByteArray& bytes);

} // namespace zerwa::test
