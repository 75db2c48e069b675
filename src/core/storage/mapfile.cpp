// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/storage/mapfile.h"

#include "core/model/settingslists.h"
#include "core/storage/windows1250.h"

#include <QFile>
#include <QFileInfo>

namespace zerwa::mapfile {

namespace {

constexpr int kSettingsLines = 6;
constexpr int kFirstCellLine = 2 + kSettingsLines; // line numbers count from 1

QString placeOfLine(const VariantProfile& profile, int line) {
    if (line < kFirstCellLine)
        return QStringLiteral("„%1”").arg(settings::fieldNames().at(line - 2));
    const int cell = line - kFirstCellLine;
    return QStringLiteral("cella (oszlop %1, sor %2)")
        .arg(cell % profile.gridColumns())
        .arg(cell / profile.gridColumns());
}

QList<QString> valuesInFileOrder(const MapFileContent& content) {
    QList<QString> values = settings::fieldValues(content.settings);
    const MapTable& table = content.table;
    values.reserve(values.size() + qsizetype(table.columns()) * table.rows());
    for (int row = 0; row < table.rows(); ++row) {
        for (int column = 0; column < table.columns(); ++column)
            values << table.cell(column, row);
    }
    return values;
}

// Hands out the lines of a file's bytes one by one; past the end every line is empty.
class LineCursor {
public:
    explicit LineCursor(QByteArrayView bytes)
        : m_bytes(bytes) {}

    QByteArrayView next() {
        if (m_pos >= m_bytes.size())
            return {};
        const qsizetype lf = m_bytes.indexOf('\n', m_pos);
        const qsizetype end = lf < 0 ? m_bytes.size() : lf;
        QByteArrayView line = m_bytes.sliced(m_pos, end - m_pos);
        m_pos = lf < 0 ? m_bytes.size() : lf + 1;
        if (lf >= 0 && line.endsWith('\r'))
            line.chop(1);
        return line;
    }

private:
    QByteArrayView m_bytes;
    qsizetype m_pos = 0;
};

} // namespace

int lineCount(const VariantProfile& profile) {
    return kFirstCellLine - 1 + profile.gridColumns() * profile.gridRows();
}

std::optional<QByteArray> encode(const VariantProfile& profile, const MapFileContent& content,
                                 QString* error) {
    Q_ASSERT(content.table.columns() == profile.gridColumns() &&
             content.table.rows() == profile.gridRows());
    QByteArray bytes = profile.mapFileMagic.toLatin1() + "\r\n";
    int line = 2;
    for (const QString& value : valuesInFileOrder(content)) {
        std::optional<QByteArray> encoded;
        if (!value.contains(u'\n'))
            encoded = windows1250::encode(value);
        if (!encoded || encoded->size() > maxLineLength) {
            if (error) {
                *error = (encoded ? QStringLiteral("Ez az érték túl hosszú (legfeljebb %1 "
                                                   "karakter): ")
                                        .arg(maxLineLength)
                                  : QStringLiteral("Ez az érték olyan karaktert tartalmaz, "
                                                   "amely nem írható az állományba: ")) +
                         placeOfLine(profile, line);
            }
            return std::nullopt;
        }
        bytes += *encoded + "\r\n";
        ++line;
    }
    return bytes;
}

std::optional<MapFileContent> decode(const VariantProfile& profile, QByteArrayView bytes) {
    LineCursor lines(bytes);
    if (lines.next() != QByteArrayView(profile.mapFileMagic.toLatin1()))
        return std::nullopt;

    bool tooLong = false;
    auto value = [&lines, &tooLong]() {
        const QByteArrayView line = lines.next();
        tooLong = tooLong || line.size() > maxLineLength;
        return windows1250::decode(line.toByteArray());
    };
    MapFileContent content{{}, MapTable::forProfile(profile)};
    SettingsBlock& s = content.settings;
    s.cylinders = value();
    s.limitRpm = value();
    s.opening = value();
    s.closing = value();
    s.inputPolarity = value();
    s.outputPolarity = value();
    for (int row = 0; row < content.table.rows(); ++row) {
        for (int column = 0; column < content.table.columns(); ++column)
            content.table.setCell(column, row, value());
    }
    if (tooLong)
        return std::nullopt;
    // A drop-down list can only select one of its items; any other text selects nothing.
    s = settings::normalized(s, profile);
    return content;
}

QString cannotOpenMessage(const QString& fileName) {
    return QStringLiteral("Nem tudom megnyitni az állományt!\n") + fileName;
}

QString wrongFileMessage() {
    return QStringLiteral("Nem megfelelő adatállomány!");
}

ReadResult read(const VariantProfile& profile, const QString& path, const QString& fileName) {
    if (!QFileInfo(path).isFile())
        return {std::nullopt, cannotOpenMessage(fileName)};

    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {std::nullopt, wrongFileMessage()};
    // Enough for every line of a map at its longest, and one byte more: a file cut off here
    // has an overlong line among those the map uses, so decoding the cut bytes gives the
    // same answer as decoding the whole file.
    const qint64 budget = qint64(lineCount(profile)) * (maxLineLength + 2) + 1;
    const QByteArray bytes = file.read(qMin(budget, file.size() + 1));
    if (file.error() != QFileDevice::NoError)
        return {std::nullopt, wrongFileMessage()};
    file.close();

    auto content = decode(profile, bytes);
    if (!content)
        return {std::nullopt, wrongFileMessage()};
    return {std::move(content), QString()};
}

} // namespace zerwa::mapfile
