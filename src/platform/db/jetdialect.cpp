#include "jetdialect.h"

#include "error.h"

#include <QDate>
#include <QRegularExpression>

#include <sqlite3.h>

#include <cmath>
#include <optional>
#include <vector>

namespace db::jet {

namespace {

enum class Tok { Space, Ident, Bracket, String, DString, Number, Date, Punct, Comment };

struct Token {
    Tok kind;
    QString text;
    bool drop = false;
};

bool isIdentStart(QChar c)
{
    return c.isLetter() || c == u'_';
}
bool isIdentPart(QChar c)
{
    return c.isLetterOrNumber() || c == u'_' || c == u'$';
}

std::vector<Token> tokenize(const QString& s)
{
    std::vector<Token> out;
    const qsizetype n = s.size();
    qsizetype i = 0;
    while (i < n) {
        const QChar c = s[i];
        qsizetype j = i + 1;
        Tok kind = Tok::Punct;
        if (c.isSpace()) {
            while (j < n && s[j].isSpace())
                ++j;
            kind = Tok::Space;
        } else if (c == u'\'' || c == u'"') {
            // Quote characters inside are doubled.
            for (;;) {
                while (j < n && s[j] != c)
                    ++j;
                if (j >= n)
                    throw Error(QStringLiteral("Syntax error in string in query expression '%1'.").arg(s));
                if (j + 1 < n && s[j + 1] == c) {
                    j += 2;
                    continue;
                }
                ++j;
                break;
            }
            kind = c == u'\'' ? Tok::String : Tok::DString;
        } else if (c == u'[') {
            while (j < n && s[j] != u']')
                ++j;
            if (j >= n) throw Error(QStringLiteral("Invalid bracketing of name in '%1'.").arg(s));
            ++j;
            kind = Tok::Bracket;
        } else if (c == u'#') {
            while (j < n && s[j] != u'#')
                ++j;
            if (j >= n) throw Error(QStringLiteral("Syntax error in date in query expression '%1'.").arg(s));
            ++j;
            kind = Tok::Date;
        } else if (c == u'-' && i + 1 < n && s[i + 1] == u'-') {
            while (j < n && s[j] != u'\n')
                ++j;
            kind = Tok::Comment;
        } else if (isIdentStart(c)) {
            while (j < n && isIdentPart(s[j]))
                ++j;
            kind = Tok::Ident;
        } else if (c.isDigit() || (c == u'.' && i + 1 < n && s[i + 1].isDigit())) {
            while (j < n && (s[j].isLetterOrNumber() || s[j] == u'.'))
                ++j;
            kind = Tok::Number;
        }
        out.push_back({kind, s.mid(i, j - i)});
        i = j;
    }
    return out;
}

bool is(const Token& t, const char* word)
{
    return t.kind == Tok::Ident && t.text.compare(QLatin1String(word), Qt::CaseInsensitive) == 0;
}

// Index of the next token that is not white space or a comment, or size().
size_t nextSolid(const std::vector<Token>& t, size_t i)
{
    while (i < t.size() && (t[i].kind == Tok::Space || t[i].kind == Tok::Comment))
        ++i;
    return i;
}

QString unquote(const Token& t)
{
    if (t.kind == Tok::Bracket) return t.text.mid(1, t.text.size() - 2);
    if (t.kind == Tok::String || t.kind == Tok::DString) {
        const QChar q = t.text[0];
        QString inner = t.text.mid(1, t.text.size() - 2);
        return inner.replace(QString(2, q), QString(q));
    }
    return t.text;
}

QString sqlString(const QString& v)
{
    QString s = v;
    s.replace(u'\'', QStringLiteral("''"));
    return u'\'' + s + u'\'';
}

// #2026-12-11#, #12/11/2026#, optionally with a time.
QString dateLiteral(const QString& body)
{
    const QString b = body.trimmed();
    static const QRegularExpression iso(QStringLiteral(R"(^(\d{4})-(\d{1,2})-(\d{1,2})(?:\s+(.*))?$)"));
    static const QRegularExpression us(QStringLiteral(R"(^(\d{1,2})/(\d{1,2})/(\d{4})(?:\s+(.*))?$)"));
    QDate d;
    QString time;
    if (auto m = iso.match(b); m.hasMatch()) {
        d = QDate(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
        time = m.captured(4);
    } else if (auto u = us.match(b); u.hasMatch()) {
        d = QDate(u.captured(3).toInt(), u.captured(1).toInt(), u.captured(2).toInt());
        time = u.captured(4);
    }
    if (!d.isValid())
        throw Error(QStringLiteral("Syntax error in date in query expression '#%1#'.").arg(body));
    QString text = d.toString(Qt::ISODate);
    if (!time.trimmed().isEmpty()) {
        QTime t = QTime::fromString(time.trimmed(), QStringLiteral("H:mm:ss"));
        if (!t.isValid()) t = QTime::fromString(time.trimmed(), QStringLiteral("H:mm"));
        if (!t.isValid())
            throw Error(QStringLiteral("Syntax error in date in query expression '#%1#'.").arg(body));
        if (t != QTime(0, 0)) text += u' ' + t.toString(QStringLiteral("HH:mm:ss"));
    }
    return sqlString(text);
}

struct TypeMap {
    QString sqlType;
    bool text = false;
    std::optional<int> maxLength;
    bool smallInt = false;
};

std::optional<TypeMap> mapType(const QString& word, std::optional<int> size)
{
    const QString w = word.toUpper();
    if (w == u"TEXT" || w == u"VARCHAR" || w == u"CHAR" || w == u"NVARCHAR" || w == u"CHARACTER" ||
        w == u"STRING")
        return TypeMap{QStringLiteral("TEXT COLLATE NOCASE"), true, size.value_or(255), false};
    if (w == u"MEMO" || w == u"LONGTEXT" || w == u"NOTE" || w == u"LONGCHAR")
        return TypeMap{QStringLiteral("TEXT COLLATE NOCASE"), true, std::nullopt, false};
    if (w == u"SMALLINT" || w == u"SHORT" || w == u"INTEGER2")
        return TypeMap{QStringLiteral("SMALLINT"), false, std::nullopt, true};
    if (w == u"INTEGER" || w == u"LONG" || w == u"INT" || w == u"INTEGER4")
        return TypeMap{QStringLiteral("INT"), false, std::nullopt, false};
    if (w == u"BYTE" || w == u"TINYINT" || w == u"BIT" || w == u"YESNO" || w == u"LOGICAL")
        return TypeMap{QStringLiteral("INT"), false, std::nullopt, false};
    if (w == u"COUNTER" || w == u"AUTOINCREMENT")
        return TypeMap{QStringLiteral("INTEGER"), false, std::nullopt, false};
    if (w == u"DATETIME" || w == u"DATE" || w == u"TIME" || w == u"TIMESTAMP")
        return TypeMap{QStringLiteral("DATETIME"), false, std::nullopt, false};
    if (w == u"IMAGE" || w == u"LONGBINARY" || w == u"OLEOBJECT" || w == u"GENERAL" || w == u"BINARY" ||
        w == u"VARBINARY")
        return TypeMap{QStringLiteral("BLOB"), false, std::nullopt, false};
    if (w == u"DOUBLE" || w == u"FLOAT" || w == u"FLOAT8" || w == u"NUMBER" || w == u"REAL" ||
        w == u"SINGLE" || w == u"FLOAT4" || w == u"CURRENCY" || w == u"MONEY" || w == u"DECIMAL" ||
        w == u"NUMERIC")
        return TypeMap{QStringLiteral("DOUBLE"), false, std::nullopt, false};
    return std::nullopt;
}

// Rewrites the column definitions of CREATE TABLE name ( ... ).
QString translateCreate(const std::vector<Token>& t, size_t nameAt, CreatedTable& created)
{
    created.name = unquote(t[nameAt]);
    size_t open = nextSolid(t, nameAt + 1);
    if (open >= t.size() || t[open].text != u"(")
        throw Error(QStringLiteral("Syntax error in CREATE TABLE statement."));
    QString out;
    for (size_t i = 0; i <= open; ++i)
        out += t[i].text;

    // Split the list at top-level commas.
    std::vector<std::vector<size_t>> defs(1);
    int depth = 0;
    size_t close = t.size();
    for (size_t i = open + 1; i < t.size(); ++i) {
        const QString& x = t[i].text;
        if (t[i].kind == Tok::Punct && x == u"(")
            ++depth;
        else if (t[i].kind == Tok::Punct && x == u")") {
            if (depth == 0) {
                close = i;
                break;
            }
            --depth;
        } else if (t[i].kind == Tok::Punct && x == u"," && depth == 0) {
            defs.emplace_back();
            continue;
        }
        defs.back().push_back(i);
    }
    if (close == t.size()) throw Error(QStringLiteral("Syntax error in CREATE TABLE statement."));

    QStringList parts;
    for (const auto& def : defs) {
        std::vector<size_t> solid;
        for (size_t k : def)
            if (t[k].kind != Tok::Space && t[k].kind != Tok::Comment) solid.push_back(k);
        if (solid.empty()) throw Error(QStringLiteral("Syntax error in field definition."));
        const Token& first = t[solid[0]];
        const bool constraint = is(first, "constraint") || is(first, "primary") || is(first, "unique") ||
                                is(first, "check") || is(first, "foreign");
        QString piece;
        if (constraint || solid.size() < 2) {
            for (size_t k : def)
                piece += t[k].kind == Tok::DString ? quoteIdent(unquote(t[k])) : t[k].text;
            parts << piece.trimmed();
            continue;
        }
        const QString column = unquote(first);
        const Token& typeTok = t[solid[1]];
        size_t after = 2;
        std::optional<int> size;
        if (solid.size() >= 5 && t[solid[2]].text == u"(" && t[solid[3]].kind == Tok::Number &&
            t[solid[4]].text == u")") {
            size = t[solid[3]].text.toInt();
            after = 5;
        }
        auto map = mapType(typeTok.text, size);
        if (!map)
            throw Error(
                QStringLiteral("Syntax error in field definition: unknown type '%1'.").arg(typeTok.text));
        piece = quoteIdent(column) + u' ' + map->sqlType;
        if (map->maxLength)
            piece += QStringLiteral(" CHECK (length(%1) <= %2)").arg(quoteIdent(column)).arg(*map->maxLength);
        if (map->smallInt)
            piece += QStringLiteral(" CHECK (%1 BETWEEN -32768 AND 32767)").arg(quoteIdent(column));
        if (map->sqlType == u"INTEGER" && (is(typeTok, "counter") || is(typeTok, "autoincrement")))
            piece += QStringLiteral(" PRIMARY KEY AUTOINCREMENT");
        for (size_t k = after; k < solid.size(); ++k)
            piece += u' ' +
                     (t[solid[k]].kind == Tok::DString ? sqlString(unquote(t[solid[k]])) : t[solid[k]].text);
        if (map->text) created.textColumns << column;
        parts << piece;
    }
    out += parts.join(QStringLiteral(", "));
    for (size_t i = close; i < t.size(); ++i)
        out += t[i].text;
    return out;
}

const char* jetFunction(const Token& t)
{
    if (is(t, "left")) return "jet_left";
    if (is(t, "right")) return "jet_right";
    if (is(t, "mid")) return "jet_mid";
    if (is(t, "len")) return "jet_len";
    if (is(t, "cint")) return "jet_cint";
    if (is(t, "ucase")) return "upper";
    if (is(t, "lcase")) return "lower";
    return nullptr;
}

} // namespace

QString quoteIdent(const QString& name)
{
    QString s = name;
    s.replace(u'"', QStringLiteral("\"\""));
    return u'"' + s + u'"';
}

Translation translate(const QString& sql, const AttachFn& attach)
{
    std::vector<Token> t = tokenize(sql);
    Translation tr;

    const size_t s0 = nextSolid(t, 0);
    const size_t s1 = nextSolid(t, s0 + 1);
    if (s1 < t.size() && is(t[s0], "create") && is(t[s1], "table")) {
        const size_t nameAt = nextSolid(t, s1 + 1);
        if (nameAt >= t.size()) throw Error(QStringLiteral("Syntax error in CREATE TABLE statement."));
        tr.sql = translateCreate(t, nameAt, tr.created);
        return tr;
    }

    for (size_t i = 0; i < t.size(); ++i) {
        Token& tok = t[i];
        switch (tok.kind) {
        case Tok::DString:
            tok.text = sqlString(unquote(tok));
            break;
        case Tok::Date:
            tok.text = dateLiteral(tok.text.mid(1, tok.text.size() - 2));
            break;
        case Tok::Ident: {
            const size_t nx = nextSolid(t, i + 1);
            if (nx < t.size() && t[nx].kind == Tok::Punct && t[nx].text == u"(") {
                if (const char* fn = jetFunction(tok)) tok.text = QLatin1String(fn);
            }
            // delete * from
            if (is(tok, "delete") && nx < t.size() && t[nx].text == u"*") {
                const size_t f = nextSolid(t, nx + 1);
                if (f < t.size() && is(t[f], "from")) t[nx].drop = true;
            }
            // <table> in '<file>'
            if (nx < t.size() && is(t[nx], "in")) {
                const size_t p = nextSolid(t, nx + 1);
                if (p < t.size() && t[p].kind == Tok::String) {
                    const QString alias = attach(unquote(t[p]));
                    tok.text = alias + u'.' + quoteIdent(tok.text);
                    for (size_t k = i + 1; k <= p; ++k)
                        t[k].drop = true;
                    tr.usesOtherFile = true;
                }
            }
            break;
        }
        case Tok::Bracket: {
            const size_t nx = nextSolid(t, i + 1);
            if (nx < t.size() && is(t[nx], "in")) {
                const size_t p = nextSolid(t, nx + 1);
                if (p < t.size() && t[p].kind == Tok::String) {
                    tok.text = attach(unquote(t[p])) + u'.' + tok.text;
                    for (size_t k = i + 1; k <= p; ++k)
                        t[k].drop = true;
                    tr.usesOtherFile = true;
                }
            }
            break;
        }
        default:
            break;
        }
    }
    for (const Token& tok : t)
        if (!tok.drop) tr.sql += tok.text;
    return tr;
}

int cint(double value)
{
    if (std::isnan(value)) throw Error(QStringLiteral("Overflow"));
    const double r = std::nearbyint(value); // the default rounding mode rounds half to even
    if (r < -32768.0 || r > 32767.0) throw Error(QStringLiteral("Overflow"));
    return static_cast<int>(r);
}

namespace {

// Text of an argument as UTF-8 (numbers converted as SQLite prints them).
struct Utf8Arg {
    const unsigned char* p = nullptr;
    int bytes = 0;
    explicit Utf8Arg(sqlite3_value* v)
    {
        p = sqlite3_value_text(v);
        bytes = sqlite3_value_bytes(v);
    }
};

// Byte offset of the n-th code point (or end).
int utf8Advance(const unsigned char* p, int bytes, int from, qint64 count)
{
    int i = from;
    while (count > 0 && i < bytes) {
        ++i;
        while (i < bytes && (p[i] & 0xC0) == 0x80)
            ++i;
        --count;
    }
    return i;
}

qint64 utf8Length(const unsigned char* p, int bytes)
{
    qint64 n = 0;
    for (int i = 0; i < bytes; ++i)
        if ((p[i] & 0xC0) != 0x80) ++n;
    return n;
}

bool anyNull(int argc, sqlite3_value** argv)
{
    for (int i = 0; i < argc; ++i)
        if (sqlite3_value_type(argv[i]) == SQLITE_NULL) return true;
    return false;
}

bool lengthArg(sqlite3_context* ctx, sqlite3_value* v, qint64* out)
{
    const double d = sqlite3_value_double(v);
    if (d < 0) {
        sqlite3_result_error(ctx, "Invalid procedure call or argument", -1);
        return false;
    }
    *out = static_cast<qint64>(d);
    return true;
}

void fnLeft(sqlite3_context* ctx, int argc, sqlite3_value** argv)
{
    if (anyNull(argc, argv)) return sqlite3_result_null(ctx);
    qint64 n;
    if (!lengthArg(ctx, argv[1], &n)) return;
    Utf8Arg s(argv[0]);
    const int end = utf8Advance(s.p, s.bytes, 0, n);
    sqlite3_result_text(ctx, reinterpret_cast<const char*>(s.p), end, SQLITE_TRANSIENT);
}

void fnRight(sqlite3_context* ctx, int argc, sqlite3_value** argv)
{
    if (anyNull(argc, argv)) return sqlite3_result_null(ctx);
    qint64 n;
    if (!lengthArg(ctx, argv[1], &n)) return;
    Utf8Arg s(argv[0]);
    const qint64 len = utf8Length(s.p, s.bytes);
    const int start = n >= len ? 0 : utf8Advance(s.p, s.bytes, 0, len - n);
    sqlite3_result_text(ctx, reinterpret_cast<const char*>(s.p) + start, s.bytes - start, SQLITE_TRANSIENT);
}

void fnMid(sqlite3_context* ctx, int argc, sqlite3_value** argv)
{
    if (anyNull(argc, argv)) return sqlite3_result_null(ctx);
    const double startD = sqlite3_value_double(argv[1]);
    if (startD < 1) {
        sqlite3_result_error(ctx, "Invalid procedure call or argument", -1);
        return;
    }
    qint64 count = -1;
    if (argc > 2 && !lengthArg(ctx, argv[2], &count)) return;
    Utf8Arg s(argv[0]);
    const int from = utf8Advance(s.p, s.bytes, 0, static_cast<qint64>(startD) - 1);
    const int to = count < 0 ? s.bytes : utf8Advance(s.p, s.bytes, from, count);
    sqlite3_result_text(ctx, reinterpret_cast<const char*>(s.p) + from, to - from, SQLITE_TRANSIENT);
}

void fnLen(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) return sqlite3_result_null(ctx);
    if (sqlite3_value_type(argv[0]) == SQLITE_BLOB)
        return sqlite3_result_int64(ctx, sqlite3_value_bytes(argv[0]));
    Utf8Arg s(argv[0]);
    sqlite3_result_int64(ctx, utf8Length(s.p, s.bytes));
}

void fnCint(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    double d = 0;
    switch (sqlite3_value_type(argv[0])) {
    case SQLITE_NULL:
        return sqlite3_result_null(ctx);
    case SQLITE_INTEGER:
    case SQLITE_FLOAT:
        d = sqlite3_value_double(argv[0]);
        break;
    default: {
        bool ok = false;
        const QString text = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_value_text(argv[0])),
                                               sqlite3_value_bytes(argv[0]))
                                 .trimmed();
        d = text.toDouble(&ok);
        if (!ok) {
            sqlite3_result_error(ctx, "Data type mismatch in criteria expression.", -1);
            return;
        }
    }
    }
    try {
        sqlite3_result_int(ctx, cint(d));
    } catch (const Error& e) {
        sqlite3_result_error(ctx, e.what(), -1);
    }
}

} // namespace

void registerFunctions(sqlite3* db)
{
    const int flags = SQLITE_UTF8 | SQLITE_DETERMINISTIC;
    sqlite3_create_function_v2(db, "jet_left", 2, flags, nullptr, fnLeft, nullptr, nullptr, nullptr);
    sqlite3_create_function_v2(db, "jet_right", 2, flags, nullptr, fnRight, nullptr, nullptr, nullptr);
    sqlite3_create_function_v2(db, "jet_mid", 2, flags, nullptr, fnMid, nullptr, nullptr, nullptr);
    sqlite3_create_function_v2(db, "jet_mid", 3, flags, nullptr, fnMid, nullptr, nullptr, nullptr);
    sqlite3_create_function_v2(db, "jet_len", 1, flags, nullptr, fnLen, nullptr, nullptr, nullptr);
    sqlite3_create_function_v2(db, "jet_cint", 1, flags, nullptr, fnCint, nullptr, nullptr, nullptr);
}

} // namespace db::jet
