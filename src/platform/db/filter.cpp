#include "filter.h"

#include "error.h"

#include <QDate>
#include <QDateTime>

#include <vector>

namespace db {

namespace {

inline unsigned char fold(unsigned char c)
{
    return (c >= 'A' && c <= 'Z') ? c + 32 : c;
}

int compareFolded(const char* a, uint32_t alen, const char* b, uint32_t blen)
{
    const uint32_t n = alen < blen ? alen : blen;
    for (uint32_t i = 0; i < n; ++i) {
        const unsigned char x = fold(static_cast<unsigned char>(a[i]));
        const unsigned char y = fold(static_cast<unsigned char>(b[i]));
        if (x != y) return x < y ? -1 : 1;
    }
    return alen == blen ? 0 : (alen < blen ? -1 : 1);
}

template <typename T> int sign(T a, T b)
{
    return a < b ? -1 : (a > b ? 1 : 0);
}

bool toNumber(const char* p, uint32_t len, double* out)
{
    bool ok = false;
    *out = QByteArray::fromRawData(p, qsizetype(len)).trimmed().toDouble(&ok);
    return ok;
}

QByteArray variantText(const QVariant& v)
{
    switch (v.typeId()) {
    case QMetaType::QDate:
        return v.toDate().toString(Qt::ISODate).toUtf8();
    case QMetaType::QDateTime: {
        const QDateTime dt = v.toDateTime();
        return (dt.time() == QTime(0, 0) ? dt.date().toString(Qt::ISODate)
                                         : dt.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")))
            .toUtf8();
    }
    case QMetaType::QByteArray:
        return v.toByteArray();
    default:
        return v.toString().toUtf8();
    }
}

bool isNumeric(const QVariant& v)
{
    switch (v.typeId()) {
    case QMetaType::Bool:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Long:
    case QMetaType::Short:
    case QMetaType::Double:
    case QMetaType::Float:
        return true;
    default:
        return false;
    }
}

// Number of bytes of the UTF-8 sequence starting at p.
inline uint32_t seqLen(unsigned char c)
{
    return c < 0x80 ? 1 : (c >= 0xF0 ? 4 : (c >= 0xE0 ? 3 : 2));
}

bool globBytes(const char* t, uint32_t tlen, const char* p, uint32_t plen)
{
    uint32_t ti = 0, pi = 0;
    uint32_t starP = UINT32_MAX, starT = 0;
    while (ti < tlen) {
        if (pi < plen && (p[pi] == '*' || p[pi] == '%')) {
            starP = pi++;
            starT = ti;
            continue;
        }
        if (pi < plen && (p[pi] == '?' || p[pi] == '_')) {
            ti += seqLen(static_cast<unsigned char>(t[ti]));
            ++pi;
            continue;
        }
        if (pi < plen && fold(static_cast<unsigned char>(p[pi])) == fold(static_cast<unsigned char>(t[ti]))) {
            ++ti;
            ++pi;
            continue;
        }
        if (starP == UINT32_MAX) return false;
        pi = starP + 1;
        starT += seqLen(static_cast<unsigned char>(t[starT]));
        ti = starT;
    }
    while (pi < plen && (p[pi] == '*' || p[pi] == '%'))
        ++pi;
    return pi == plen;
}

} // namespace

std::optional<int> compareCell(const Cell& c, const QVariant& v)
{
    if (c.isNull() || !v.isValid() || v.isNull()) return std::nullopt;
    if (isNumeric(v)) {
        const double x = v.toDouble();
        if (c.isNumber())
            return c.type == CellType::Integer && v.typeId() != QMetaType::Double
                       ? sign<int64_t>(c.i, v.toLongLong())
                       : sign(c.number(), x);
        double cv;
        if (c.type == CellType::Text && toNumber(c.p, c.len, &cv)) return sign(cv, x);
        const QByteArray b = variantText(v);
        return compareFolded(c.p, c.len, b.constData(), uint32_t(b.size()));
    }
    const QByteArray b = variantText(v);
    if (c.isNumber()) {
        double x;
        if (toNumber(b.constData(), uint32_t(b.size()), &x)) return sign(c.number(), x);
        const QByteArray a =
            c.type == CellType::Integer ? QByteArray::number(qlonglong(c.i)) : QByteArray::number(c.d);
        return compareFolded(a.constData(), uint32_t(a.size()), b.constData(), uint32_t(b.size()));
    }
    return compareFolded(c.p, c.len, b.constData(), uint32_t(b.size()));
}

int orderCells(const Cell& a, const Cell& b)
{
    const int ra = a.isNull() ? 0 : (a.isNumber() ? 1 : 2);
    const int rb = b.isNull() ? 0 : (b.isNumber() ? 1 : 2);
    if (ra != rb) return ra < rb ? -1 : 1;
    if (ra == 0) return 0;
    if (ra == 1)
        return (a.type == CellType::Integer && b.type == CellType::Integer) ? sign(a.i, b.i)
                                                                            : sign(a.number(), b.number());
    return compareFolded(a.p, a.len, b.p, b.len);
}

bool likeMatch(const char* text, uint32_t len, const QString& pattern)
{
    const QByteArray p = pattern.toUtf8();
    return globBytes(text, len, p.constData(), uint32_t(p.size()));
}

// ---- parsing ----

struct Filter::Node {
    enum Kind { And, Or, Not, Compare, Like, IsNull } kind;
    std::unique_ptr<Node> a, b;
    int column = -1;
    enum Op { Eq, Ne, Lt, Gt, Le, Ge } op = Eq;
    QVariant value;
    QByteArray pattern;  // UTF-8, for Like
    bool negate = false; // IS NOT NULL, NOT LIKE

    // 1 true, 0 false, -1 unknown
    int eval(const RowStore& s, uint64_t rec) const
    {
        switch (kind) {
        case And: {
            const int x = a->eval(s, rec);
            if (x == 0) return 0;
            const int y = b->eval(s, rec);
            if (y == 0) return 0;
            return (x == 1 && y == 1) ? 1 : -1;
        }
        case Or: {
            const int x = a->eval(s, rec);
            if (x == 1) return 1;
            const int y = b->eval(s, rec);
            if (y == 1) return 1;
            return (x == 0 && y == 0) ? 0 : -1;
        }
        case Not: {
            const int x = a->eval(s, rec);
            return x < 0 ? -1 : 1 - x;
        }
        case IsNull: {
            const bool n = s.cell(rec, column).isNull();
            return (n != negate) ? 1 : 0;
        }
        case Like: {
            const Cell c = s.cell(rec, column);
            if (c.isNull()) return -1;
            bool m;
            if (c.type == CellType::Text || c.type == CellType::Blob) {
                m = globBytes(c.p, c.len, pattern.constData(), uint32_t(pattern.size()));
            } else {
                const QByteArray t = c.type == CellType::Integer ? QByteArray::number(qlonglong(c.i))
                                                                 : QByteArray::number(c.d);
                m = globBytes(t.constData(), uint32_t(t.size()), pattern.constData(),
                              uint32_t(pattern.size()));
            }
            return (m != negate) ? 1 : 0;
        }
        case Compare: {
            const auto r = compareCell(s.cell(rec, column), value);
            if (!r) return -1;
            switch (op) {
            case Eq:
                return *r == 0;
            case Ne:
                return *r != 0;
            case Lt:
                return *r < 0;
            case Gt:
                return *r > 0;
            case Le:
                return *r <= 0;
            case Ge:
                return *r >= 0;
            }
        }
        }
        return -1;
    }
};

namespace {

struct FTok {
    enum Kind { Ident, Str, Num, Date, Op, LParen, RParen, End } kind;
    QString text;
};

class Parser {
public:
    Parser(const QString& text, const RowStore& store) : s_(text), store_(store) { advance(); }

    std::unique_ptr<Filter::Node> parseAll()
    {
        auto n = parseOr();
        if (tok_.kind != FTok::End) fail();
        return n;
    }

private:
    [[noreturn]] void fail() const
    {
        throw Error(QStringLiteral("Arguments are of the wrong type, are out of acceptable range, or are in "
                                   "conflict with one another. (filter: %1)")
                        .arg(s_));
    }

    bool isWord(const char* w) const
    {
        return tok_.kind == FTok::Ident && tok_.text.compare(QLatin1String(w), Qt::CaseInsensitive) == 0;
    }

    void advance()
    {
        while (i_ < s_.size() && s_[i_].isSpace())
            ++i_;
        if (i_ >= s_.size()) {
            tok_ = {FTok::End, {}};
            return;
        }
        const QChar c = s_[i_];
        qsizetype j = i_ + 1;
        if (c == u'(' || c == u')') {
            tok_ = {c == u'(' ? FTok::LParen : FTok::RParen, QString(c)};
        } else if (c == u'\'' || c == u'"') {
            QString v;
            for (;;) {
                if (j >= s_.size()) fail();
                if (s_[j] == c) {
                    if (j + 1 < s_.size() && s_[j + 1] == c) {
                        v += c;
                        j += 2;
                        continue;
                    }
                    ++j;
                    break;
                }
                v += s_[j++];
            }
            tok_ = {FTok::Str, v};
        } else if (c == u'#') {
            while (j < s_.size() && s_[j] != u'#')
                ++j;
            if (j >= s_.size()) fail();
            tok_ = {FTok::Date, s_.mid(i_ + 1, j - i_ - 1)};
            ++j;
        } else if (c == u'[') {
            while (j < s_.size() && s_[j] != u']')
                ++j;
            if (j >= s_.size()) fail();
            tok_ = {FTok::Ident, s_.mid(i_ + 1, j - i_ - 1)};
            ++j;
        } else if (c == u'<' || c == u'>' || c == u'=' || c == u'!') {
            if (j < s_.size() && (s_[j] == u'=' || (c == u'<' && s_[j] == u'>'))) ++j;
            tok_ = {FTok::Op, s_.mid(i_, j - i_)};
        } else if (c.isDigit() || ((c == u'-' || c == u'+' || c == u'.') && j < s_.size() &&
                                   (s_[j].isDigit() || s_[j] == u'.'))) {
            while (j < s_.size() && (s_[j].isDigit() || s_[j] == u'.' || s_[j] == u'e' || s_[j] == u'E'))
                ++j;
            tok_ = {FTok::Num, s_.mid(i_, j - i_)};
        } else if (c.isLetter() || c == u'_') {
            while (j < s_.size() && (s_[j].isLetterOrNumber() || s_[j] == u'_'))
                ++j;
            tok_ = {FTok::Ident, s_.mid(i_, j - i_)};
        } else {
            fail();
        }
        i_ = j;
    }

    std::unique_ptr<Filter::Node> binary(Filter::Node::Kind k, std::unique_ptr<Filter::Node> a,
                                         std::unique_ptr<Filter::Node> b)
    {
        auto n = std::make_unique<Filter::Node>();
        n->kind = k;
        n->a = std::move(a);
        n->b = std::move(b);
        return n;
    }

    std::unique_ptr<Filter::Node> parseOr()
    {
        auto left = parseAnd();
        while (isWord("or")) {
            advance();
            left = binary(Filter::Node::Or, std::move(left), parseAnd());
        }
        return left;
    }

    std::unique_ptr<Filter::Node> parseAnd()
    {
        auto left = parseFactor();
        while (isWord("and")) {
            advance();
            left = binary(Filter::Node::And, std::move(left), parseFactor());
        }
        return left;
    }

    QVariant literal()
    {
        QVariant v;
        switch (tok_.kind) {
        case FTok::Str:
            v = tok_.text;
            break;
        case FTok::Num: {
            bool ok = false;
            const qlonglong i = tok_.text.toLongLong(&ok);
            if (ok) {
                v = i;
            } else {
                const double d = tok_.text.toDouble(&ok);
                if (!ok) fail();
                v = d;
            }
            break;
        }
        case FTok::Date: {
            QDate d = QDate::fromString(tok_.text.trimmed(), Qt::ISODate);
            if (!d.isValid()) d = QDate::fromString(tok_.text.trimmed(), QStringLiteral("M/d/yyyy"));
            if (!d.isValid()) fail();
            v = d;
            break;
        }
        case FTok::Ident:
            if (isWord("null"))
                v = QVariant();
            else if (isWord("true"))
                v = -1;
            else if (isWord("false"))
                v = 0;
            else
                fail();
            break;
        default:
            fail();
        }
        advance();
        return v;
    }

    std::unique_ptr<Filter::Node> parseFactor()
    {
        if (isWord("not")) {
            advance();
            auto n = std::make_unique<Filter::Node>();
            n->kind = Filter::Node::Not;
            n->a = parseFactor();
            return n;
        }
        if (tok_.kind == FTok::LParen) {
            advance();
            auto n = parseOr();
            if (tok_.kind != FTok::RParen) fail();
            advance();
            return n;
        }
        if (tok_.kind != FTok::Ident) fail();
        const int column = store_.indexOf(tok_.text);
        if (column < 0)
            throw Error(
                QStringLiteral("Item cannot be found in the collection corresponding to the requested "
                               "name or ordinal. (%1)")
                    .arg(tok_.text));
        advance();
        auto n = std::make_unique<Filter::Node>();
        n->column = column;
        if (isWord("is")) {
            advance();
            n->kind = Filter::Node::IsNull;
            if (isWord("not")) {
                n->negate = true;
                advance();
            }
            if (!isWord("null")) fail();
            advance();
            return n;
        }
        if (isWord("not")) {
            n->negate = true;
            advance();
            if (!isWord("like")) fail();
        }
        if (isWord("like")) {
            advance();
            if (tok_.kind != FTok::Str) fail();
            n->kind = Filter::Node::Like;
            n->pattern = tok_.text.toUtf8();
            advance();
            return n;
        }
        if (tok_.kind != FTok::Op) fail();
        const QString op = tok_.text;
        advance();
        n->kind = Filter::Node::Compare;
        if (op == u"=")
            n->op = Filter::Node::Eq;
        else if (op == u"<>" || op == u"!=")
            n->op = Filter::Node::Ne;
        else if (op == u"<")
            n->op = Filter::Node::Lt;
        else if (op == u">")
            n->op = Filter::Node::Gt;
        else if (op == u"<=")
            n->op = Filter::Node::Le;
        else if (op == u">=")
            n->op = Filter::Node::Ge;
        else
            fail();
        n->value = literal();
        // "field = null" and "field <> null" test for null, as ADO filters do.
        if (!n->value.isValid() && (n->op == Filter::Node::Eq || n->op == Filter::Node::Ne)) {
            n->negate = n->op == Filter::Node::Ne;
            n->kind = Filter::Node::IsNull;
        }
        return n;
    }

    QString s_;
    const RowStore& store_;
    qsizetype i_ = 0;
    FTok tok_;
};

} // namespace

Filter::~Filter() = default;

std::unique_ptr<Filter> Filter::parse(const QString& text, const RowStore& store)
{
    std::unique_ptr<Filter> f(new Filter);
    f->root_ = Parser(text, store).parseAll();
    return f;
}

bool Filter::matches(const RowStore& store, uint64_t record) const
{
    return root_->eval(store, record) == 1;
}

} // namespace db
