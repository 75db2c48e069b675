// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

class QTextDocument;

namespace zerwa {

namespace rtf {
struct Document;
}

namespace richtext {

// Puts the content of a help file into the viewer's document: as formatted text when the
// file looks like rich text (see rtf::Parser::looksLikeRichText), otherwise as plain text,
// so a file that is not rich text is shown rather than refused.
void load(QTextDocument& document, const QByteArray& fileBytes);

// Plain text of a file that is not rich text: UTF-8 when it starts with the UTF-8 mark,
// otherwise Windows-1250 like every other file of the programs; control characters other
// than tabs and line ends are left out, and so is text past the size a rich-text document is
// kept to.
QString decodePlainText(const QByteArray& fileBytes);

// Replaces the document's content with the paragraphs and runs that were read.
void fill(QTextDocument& document, const rtf::Document& content);

} // namespace richtext
} // namespace zerwa
