// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

namespace zerwa::syncedfile {

// Writes files so that whoever reads them, and whatever stops the program, sees either the
// previous state or the whole new file: the bytes go to a hidden file beside the target
// (".<name>.<random>.tmp", which readers pass over), are synced to disk, and only then take
// the target's name; the folder is synced after that.

enum class Result { Written, NameTaken, Failed };

// The file `name` in `folder` with these bytes, only if no file of that name is there: two
// writers never take the same name. On Failed, `error` says why.
Result writeNew(const QString& folder, const QString& name, const QByteArray& bytes,
                QString* error);
// Replaces the file `name` in `folder` (or makes it) with these bytes.
Result replace(const QString& folder, const QString& name, const QByteArray& bytes, QString* error);

} // namespace zerwa::syncedfile
