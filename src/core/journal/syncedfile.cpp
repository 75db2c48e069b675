// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/journal/syncedfile.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>

#ifdef Q_OS_WIN
#include <QSaveFile>
#else
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>
#endif

namespace zerwa::syncedfile {

namespace {

QString tempName(const QString& name) {
    return u'.' + name + u'.' + QString::number(QRandomGenerator::system()->generate(), 36) +
           QStringLiteral(".tmp");
}

#ifndef Q_OS_WIN

Result fail(QString* error, int code) {
    if (error)
        *error = qt_error_string(code);
    return Result::Failed;
}

// The bytes in a new file at `path`, synced to disk; the errno of a failure, or 0.
int writeSynced(const QByteArray& path, const QByteArray& bytes) {
    const int handle = ::open(path.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (handle < 0)
        return errno;
    int code = 0;
    for (qsizetype done = 0; done < bytes.size() && code == 0;) {
        const ssize_t n = ::write(handle, bytes.constData() + done, size_t(bytes.size() - done));
        if (n > 0)
            done += n;
        else if (n < 0 && errno != EINTR)
            code = errno;
    }
    if (code == 0 && ::fsync(handle) != 0)
        code = errno;
    if (::close(handle) != 0 && code == 0)
        code = errno;
    if (code != 0)
        ::unlink(path.constData());
    return code;
}

void syncFolder(const QByteArray& folder) {
    const int handle = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (handle >= 0) {
        ::fsync(handle);
        ::close(handle);
    }
}

Result publish(const QString& folder, const QString& name, const QByteArray& bytes, bool onlyNew,
               QString* error) {
    const QByteArray temp = QFile::encodeName(QDir(folder).filePath(tempName(name)));
    const QByteArray target = QFile::encodeName(QDir(folder).filePath(name));
    if (const int code = writeSynced(temp, bytes))
        return fail(error, code);
    int code = 0;
    if (onlyNew) {
        // A hard link fails on a name that is taken, where a rename would replace it.
        code = ::link(temp.constData(), target.constData()) == 0 ? 0 : errno;
        if (code == EPERM || code == ENOTSUP || code == EOPNOTSUPP || code == EMLINK) {
            // A file system without hard links: the name is checked, then taken.
            code = ::access(target.constData(), F_OK) == 0               ? EEXIST
                   : ::rename(temp.constData(), target.constData()) == 0 ? 0
                                                                         : errno;
        }
        ::unlink(temp.constData());
    } else if (::rename(temp.constData(), target.constData()) != 0) {
        code = errno;
        ::unlink(temp.constData());
    }
    if (code == EEXIST)
        return Result::NameTaken;
    if (code != 0)
        return fail(error, code);
    syncFolder(QFile::encodeName(folder));
    return Result::Written;
}

#else

Result publish(const QString& folder, const QString& name, const QByteArray& bytes, bool onlyNew,
               QString* error) {
    const QString target = QDir(folder).filePath(name);
    if (onlyNew && QFile::exists(target))
        return Result::NameTaken;
    QSaveFile file(target); // synced on commit
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.flush() ||
        !file.commit()) {
        if (error)
            *error = file.errorString();
        file.cancelWriting();
        return Result::Failed;
    }
    return Result::Written;
}

#endif

} // namespace

Result writeNew(const QString& folder, const QString& name, const QByteArray& bytes,
                QString* error) {
    return publish(folder, name, bytes, true, error);
}

Result replace(const QString& folder, const QString& name, const QByteArray& bytes,
               QString* error) {
    return publish(folder, name, bytes, false, error);
}

} // namespace zerwa::syncedfile
