// Builds a QTextDocument from what the RTF reader produces: text runs, paragraph marks, table cells,
// pictures.
#pragma once

#include <QList>
#include <QSizeF>
#include <QTextCursor>

class QImage;
class QTextDocument;

namespace richtext::detail {

class DocumentBuilder {
public:
    explicit DocumentBuilder(QTextDocument* doc);

    void text(const QString& s, const QTextCharFormat& cf, const QTextBlockFormat& bf, bool inTable);
    void image(const QImage& image, QSizeF size, const QTextCharFormat& cf, const QTextBlockFormat& bf,
               bool inTable);
    // \par: ends the current paragraph. The new one is opened only when more content follows,
    // so the paragraph mark that ends a document does not leave an empty paragraph behind.
    void paragraph(const QTextCharFormat& cf, const QTextBlockFormat& bf, bool inTable);
    void cell(const QTextCharFormat& cf, const QTextBlockFormat& bf);
    void row();
    // \trowd and \cellxN: the boundaries of the cells of the row being defined, in twips.
    void rowDefinition() { cellEdges_.clear(); }
    void cellEdge(int twips);
    void finish() { endTable(); }

private:
    // One step of building, kept for table cells until the table's size is known.
    struct Step {
        enum class Kind { Text, Paragraph, BlockFormat, Image };
        Kind kind;
        QString text;
        QTextCharFormat chars; // for Image: the QTextImageFormat
        QTextBlockFormat block;
    };
    using Cell = QList<Step>;

    void enter(const QTextCharFormat& cf, const QTextBlockFormat& bf, bool inTable);
    void add(Step step);
    static void apply(QTextCursor& cursor, const Step& step);
    void endTable();

    QTextDocument* doc_;
    QTextCursor cursor_;
    bool paragraphPending_ = false;
    // The table being read: rows of cells, inserted as one QTextTable when it ends (Qt rebuilds
    // a table's cell grid after every row or column added, which would make reading quadratic).
    bool inTable_ = false;
    QList<QList<Cell>> rows_;
    QList<int> tableEdges_;
    int column_ = 0;
    bool rowPending_ = false;  // \row seen: the next table content starts a new row
    bool cellPending_ = false; // \cell seen: the next table content goes to the next cell
    QList<int> cellEdges_;
    int images_ = 0;
};

} // namespace richtext::detail
