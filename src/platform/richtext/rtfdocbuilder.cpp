#include "platform/richtext/rtfdocbuilder.h"

#include "platform/richtext/rtfstate.h"

#include <QImage>
#include <QTextDocument>
#include <QTextTable>
#include <QUrl>

namespace richtext::detail {

namespace {

// Hostile input must not grow a table without bound sideways; extra cells share the last column.
constexpr int kMaxColumns = 64;

} // namespace

DocumentBuilder::DocumentBuilder(QTextDocument* doc) : doc_(doc), cursor_(doc) {}

void DocumentBuilder::text(const QString& s, const QTextCharFormat& cf, const QTextBlockFormat& bf,
                           bool inTable)
{
    if (s.isEmpty()) return;
    enter(cf, bf, inTable);
    add({Step::Kind::Text, s, cf, {}});
}

void DocumentBuilder::image(const QImage& image, QSizeF size, const QTextCharFormat& cf,
                            const QTextBlockFormat& bf, bool inTable)
{
    enter(cf, bf, inTable);
    const QUrl name(QStringLiteral("rtfimage:%1").arg(++images_));
    doc_->addResource(QTextDocument::ImageResource, name, image);
    QTextImageFormat f;
    f.merge(cf);
    f.setName(name.toString());
    f.setWidth(size.width());
    f.setHeight(size.height());
    add({Step::Kind::Image, {}, f, {}});
}

void DocumentBuilder::paragraph(const QTextCharFormat& cf, const QTextBlockFormat& bf, bool inTable)
{
    enter(cf, bf, inTable);
    paragraphPending_ = true;
}

void DocumentBuilder::cell(const QTextCharFormat& cf, const QTextBlockFormat& bf)
{
    enter(cf, bf, true);
    paragraphPending_ = false;
    if (column_ + 1 < kMaxColumns) {
        ++column_;
        cellPending_ = true;
    } else {
        add({Step::Kind::Text, QStringLiteral(" "), cf, {}});
    }
}

void DocumentBuilder::row()
{
    if (!inTable_) return;
    rowPending_ = true;
    cellPending_ = false;
    paragraphPending_ = false;
}

void DocumentBuilder::cellEdge(int twips)
{
    if (cellEdges_.size() < kMaxColumns) cellEdges_.append(twips);
}

void DocumentBuilder::enter(const QTextCharFormat& cf, const QTextBlockFormat& bf, bool inTable)
{
    if (inTable && !inTable_) {
        // The table begins a paragraph of its own, so a pending paragraph mark is used up by it.
        inTable_ = true;
        rows_ = {{Cell{}}};
        tableEdges_ = cellEdges_;
        column_ = 0;
        rowPending_ = cellPending_ = paragraphPending_ = false;
    } else if (inTable && rowPending_) {
        rows_.append({Cell{}});
        column_ = 0;
        rowPending_ = false;
    } else if (!inTable && inTable_) {
        // The table ends: continue in the paragraph that follows it.
        endTable();
        paragraphPending_ = false;
    }
    if (inTable_ && cellPending_) {
        while (rows_.last().size() <= column_)
            rows_.last().append(Cell{});
        cellPending_ = false;
    }
    if (paragraphPending_) {
        add({Step::Kind::Paragraph, {}, cf, bf});
        paragraphPending_ = false;
    } else {
        add({Step::Kind::BlockFormat, {}, {}, bf});
    }
}

void DocumentBuilder::add(Step step)
{
    if (inTable_)
        rows_.last()[column_].append(std::move(step));
    else
        apply(cursor_, step);
}

void DocumentBuilder::apply(QTextCursor& cursor, const Step& step)
{
    switch (step.kind) {
    case Step::Kind::Text:
        cursor.insertText(step.text, step.chars);
        break;
    case Step::Kind::Paragraph:
        cursor.insertBlock(step.block, step.chars);
        break;
    case Step::Kind::BlockFormat:
        cursor.setBlockFormat(step.block);
        break;
    case Step::Kind::Image:
        cursor.insertImage(step.chars.toImageFormat());
        break;
    }
}

void DocumentBuilder::endTable()
{
    if (!inTable_) return;
    inTable_ = false;
    qsizetype columns = qMax<qsizetype>(1, tableEdges_.size());
    for (const QList<Cell>& row : std::as_const(rows_))
        columns = qMax(columns, row.size());

    QTextTableFormat f;
    f.setBorder(1);
    f.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
    f.setCellSpacing(0);
    f.setCellPadding(2);
    f.setBorderCollapse(true);
    QList<QTextLength> widths;
    int left = 0;
    for (const int edge : std::as_const(tableEdges_)) {
        widths.append(QTextLength(QTextLength::FixedLength, twipsToPixels(qMax(edge - left, 15))));
        left = qMax(left, edge);
    }
    if (!widths.isEmpty()) f.setColumnWidthConstraints(widths);

    QTextTable* table = cursor_.insertTable(int(rows_.size()), int(columns), f);
    for (qsizetype r = 0; r < rows_.size(); ++r) {
        for (qsizetype c = 0; c < rows_[r].size(); ++c) {
            QTextCursor cell = table->cellAt(int(r), int(c)).firstCursorPosition();
            for (const Step& step : std::as_const(rows_[r][c]))
                apply(cell, step);
        }
    }
    rows_.clear();
    cursor_.movePosition(QTextCursor::End);
}

} // namespace richtext::detail
