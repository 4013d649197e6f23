#include "forms.h"

#include <QRegularExpression>

#include <algorithm>
#include <set>
#include <stdexcept>

namespace makebank {

namespace {

const QString Blank = QStringLiteral("（　　）");
const QString Line = QStringLiteral("______");

QString letter(int i)
{
    return QString(QChar(u'A' + i));
}

[[noreturn]] void fail(const QString& what, const char* text)
{
    throw std::runtime_error((what + QStringLiteral(": ") + QString::fromUtf8(text)).toStdString());
}

// A statement as fixed text and blanks; a blank holds its correct value first.
struct Piece {
    QString fixed;
    QStringList values;
};

std::vector<Piece> parseStatement(const char* source)
{
    const QString text = QString::fromUtf8(source);
    std::vector<Piece> pieces;
    qsizetype pos = 0;
    while (pos < text.size()) {
        qsizetype open = text.indexOf(QLatin1Char('['), pos);
        if (open < 0) {
            pieces.push_back({text.mid(pos), {}});
            break;
        }
        qsizetype close = text.indexOf(QLatin1Char(']'), open);
        if (close < 0) fail(QStringLiteral("unclosed blank"), source);
        if (open > pos) pieces.push_back({text.mid(pos, open - pos), {}});
        QStringList values = text.mid(open + 1, close - open - 1).split(QLatin1Char('|'));
        for (QString& v : values)
            v = v.trimmed();
        if (values.size() < 4) fail(QStringLiteral("a blank needs three distractors"), source);
        if (std::set<QString>(values.begin(), values.end()).size() != size_t(values.size()))
            fail(QStringLiteral("repeated value in a blank"), source);
        if (values.first().contains(QLatin1Char(',')))
            fail(QStringLiteral("an answer must not hold ','"), source);
        pieces.push_back({{}, values});
        pos = close + 1;
    }
    return pieces;
}

// Renders the statement: blank `blank` as "（　　）", all blanks as lines when `lines`,
// blank `swap` with `swapValue`, the others with their correct value (bold when asked).
QString render(const std::vector<Piece>& pieces, int blank, bool lines, int swap, const QString& swapValue,
               bool bold)
{
    QString out;
    int index = 0;
    for (const Piece& p : pieces) {
        if (p.values.isEmpty()) {
            out += p.fixed;
            continue;
        }
        if (lines || index == blank)
            out += lines ? Line : Blank;
        else if (index == swap)
            out += swapValue;
        else
            out += bold ? QStringLiteral("**") + p.values.first() + QStringLiteral("**") : p.values.first();
        ++index;
    }
    return out;
}

QString numbered(const QStringList& items)
{
    QStringList lines;
    for (int i = 0; i < items.size(); ++i)
        lines << QStringLiteral("（%1）%2。").arg(i + 1).arg(items[i]);
    return lines.join(QLatin1Char('\n'));
}

QString letterList(const QString& letters)
{
    QStringList parts;
    for (QChar c : letters)
        parts << QString(c);
    return parts.join(QStringLiteral("、"));
}

} // namespace

QStringList splitItems(const char* text)
{
    QStringList items;
    for (const QString& s : QString::fromUtf8(text).split(QLatin1Char('|'), Qt::SkipEmptyParts))
        items << s.trimmed();
    return items;
}

QStringList splitLinks(const char* text)
{
    if (!text) return {};
    static const QRegularExpression blanks(QStringLiteral("\\s+"));
    return QString::fromUtf8(text).split(blanks, Qt::SkipEmptyParts);
}

Composer::Composer(Rng& rng, const QHash<QString, QString>& citations) : rng_(rng), citations_(citations) {}

QString Composer::leadIn(const char* law)
{
    if (!law) return {};
    static const char* const forms[] = {"根据《%1》，", "依据《%1》的规定，", "按照《%1》，", "《%1》规定，"};
    return QString::fromUtf8(forms[rng_.below(4)]).arg(QString::fromUtf8(law));
}

QString Composer::citation(const QStringList& links) const
{
    QStringList cited;
    for (const QString& l : links)
        cited << citations_.value(l);
    return cited.isEmpty()
               ? QString()
               : QStringLiteral("本题考查") + cited.join(QStringLiteral("、")) + QStringLiteral("的规定。");
}

Draft Composer::choice(int type, const QString& question, const QStringList& right, const QStringList& wrong,
                       int optionCount, const QStringList& links)
{
    struct Option {
        QString text;
        bool right;
    };
    std::vector<Option> options;
    for (const QString& r : right)
        options.push_back({r, true});
    for (const QString& w : wrong)
        options.push_back({w, false});
    if (int(options.size()) != optionCount)
        throw std::runtime_error("option count mismatch: " + question.toStdString());
    rng_.shuffle(options);
    Draft d;
    d.type = type;
    d.optionCount = optionCount;
    d.links = links;
    d.text = question;
    for (int i = 0; i < optionCount; ++i) {
        d.text += QStringLiteral("\n%1. %2").arg(letter(i), options[size_t(i)].text);
        if (options[size_t(i)].right) d.answer += letter(i);
    }
    return d;
}

std::vector<Draft> Composer::statement(const content::Statement& s, const Recipe& recipe)
{
    const std::vector<Piece> pieces = parseStatement(s.text);
    const QStringList links = splitLinks(s.links);
    const QString cite = citation(links);
    std::vector<int> blankAt;
    for (size_t i = 0; i < pieces.size(); ++i)
        if (!pieces[i].values.isEmpty()) blankAt.push_back(int(i));
    if (blankAt.empty()) fail(QStringLiteral("statement without a blank"), s.text);
    auto basis = [&](const QString& lead) {
        return (cite.isEmpty() ? lead : cite) + render(pieces, -1, false, -1, {}, true);
    };

    std::vector<Draft> out;
    for (int blank = 0; blank < int(blankAt.size()); ++blank) {
        const Piece& p = pieces[size_t(blankAt[size_t(blank)])];
        QStringList wrong = p.values.mid(1);
        rng_.shuffle(wrong);
        const int count = wrong.size() >= 4 && rng_.percent(40) ? 5 : 4;
        const QString lead = leadIn(s.law);
        Draft d = choice(61, lead + render(pieces, blank, false, -1, {}, false), {p.values.first()},
                         wrong.mid(0, count - 1), count, links);
        d.explanation = QStringLiteral("【答案】%1\n【解析】%2").arg(d.answer, basis(lead));
        out.push_back(std::move(d));
    }
    if (recipe.judgement) {
        const QString lead = leadIn(s.law);
        Draft d;
        d.type = 31;
        d.optionCount = 2;
        d.links = links;
        if (rng_.percent(50)) {
            d.text = lead + render(pieces, -1, false, -1, {}, false);
            d.answer = QStringLiteral("A");
            d.explanation = QStringLiteral("【答案】对\n【解析】%1").arg(basis(lead));
        } else {
            const int blank = rng_.below(int(blankAt.size()));
            const Piece& p = pieces[size_t(blankAt[size_t(blank)])];
            const QString wrong = p.values[1 + rng_.below(int(p.values.size()) - 1)];
            d.text = lead + render(pieces, -1, false, blank, wrong, false);
            d.answer = QStringLiteral("B");
            d.explanation = QStringLiteral("【答案】错\n【解析】题中“%1”有误，应为“**%2**”。%3")
                                .arg(wrong, p.values.first(), basis(lead));
        }
        out.push_back(std::move(d));
    }
    if (recipe.fillIn) {
        const QString lead = leadIn(s.law);
        Draft d;
        d.type = 21;
        d.optionCount = 1;
        d.links = links;
        d.text = lead + render(pieces, -1, true, -1, {}, false);
        QStringList answers;
        for (int i : blankAt)
            answers << pieces[size_t(i)].values.first();
        d.answer = answers.join(QLatin1Char(','));
        d.explanation =
            QStringLiteral("【答案】%1\n【解析】%2").arg(answers.join(QStringLiteral("；")), basis(lead));
        out.push_back(std::move(d));
    }
    return out;
}

std::vector<Draft> Composer::list(const content::ListFact& f, const Recipe& recipe)
{
    const QStringList right = splitItems(f.correct);
    const QStringList wrong = splitItems(f.wrong);
    const QStringList links = splitLinks(f.links);
    const QString topic = QString::fromUtf8(f.topic);
    const QString cite = citation(links);
    if (right.size() < 2 || wrong.size() < 2 || right.size() + wrong.size() < 6)
        fail(QStringLiteral("a list needs more items"), f.topic);

    auto explain = [&](const Draft& d, const QString& lead) {
        QString missing;
        for (int i = 0; i < d.optionCount; ++i)
            if (!d.answer.contains(letter(i))) missing += letter(i);
        QString text =
            QStringLiteral("【答案】%1\n【解析】%2%3包括：%4。")
                .arg(d.answer, cite.isEmpty() ? lead : cite, topic, right.join(QStringLiteral("；")));
        if (!missing.isEmpty()) text += QStringLiteral("选项%1不属于%2。").arg(letterList(missing), topic);
        return text;
    };

    std::vector<Draft> out;
    std::set<QString> used; // option sets already asked, so that no two questions repeat
    auto compose = [&](int type, int minRight, int maxRight, const char* const* forms, int formCount) {
        for (int attempt = 0; attempt < 60; ++attempt) {
            const int k = rng_.between(minRight, std::min<int>(maxRight, int(right.size())));
            if (5 - k > wrong.size()) continue;
            QStringList r = right, w = wrong;
            rng_.shuffle(r);
            rng_.shuffle(w);
            r = r.mid(0, k);
            w = w.mid(0, 5 - k);
            QStringList key = r + w;
            key.sort();
            if (!used.insert(key.join(QLatin1Char('|'))).second) continue;
            const QString lead = leadIn(f.law);
            const QString question = lead + QString::fromUtf8(forms[rng_.below(formCount)]).arg(topic);
            Draft d = choice(type, question, r, w, 5, links);
            d.explanation = explain(d, lead);
            out.push_back(std::move(d));
            return;
        }
    };
    static const char* const multiForms[] = {"下列各项中，属于%1的有（　　）。", "%1包括（　　）。",
                                             "下列选项中，属于%1的有（　　）。"};
    static const char* const indefiniteForms[] = {"下列各项中，属于%1的是（　　）。",
                                                  "下列选项中，可列入%1的是（　　）。"};
    for (int i = 0; i < recipe.multiple; ++i)
        compose(65, 2, 4, multiForms, 3);
    for (int i = 0; i < recipe.indefinite; ++i)
        compose(66, 1, 4, indefiniteForms, 2);

    for (int i = 0; i < recipe.singles; ++i) {
        // One question asks which item belongs, a second one which does not.
        const bool negative = recipe.singles == 1 ? rng_.percent(50) : i % 2 == 1;
        const QString lead = leadIn(f.law);
        QStringList r = right, w = wrong;
        rng_.shuffle(r);
        rng_.shuffle(w);
        Draft d;
        if (negative && r.size() >= 3) {
            d = choice(61, lead + QStringLiteral("下列各项中，不属于%1的是（　　）。").arg(topic),
                       {w.first()}, r.mid(0, 3), 4, links);
            d.explanation = QStringLiteral("【答案】%1\n【解析】%2%3包括：%4。“%5”不在其列。")
                                .arg(d.answer, cite.isEmpty() ? lead : cite, topic,
                                     right.join(QStringLiteral("；")), w.first());
        } else if (w.size() >= 3) {
            d = choice(61, lead + QStringLiteral("下列各项中，属于%1的是（　　）。").arg(topic), {r.first()},
                       w.mid(0, 3), 4, links);
            d.explanation = explain(d, lead);
        } else {
            continue;
        }
        out.push_back(std::move(d));
    }
    if (recipe.shortAnswer) {
        Draft d;
        d.type = 71;
        d.optionCount = 1;
        d.answer = QStringLiteral("1");
        d.links = links;
        d.text = QStringLiteral("简述%1。").arg(topic);
        d.explanation = QStringLiteral("【参考答案】\n%1").arg(numbered(right));
        out.push_back(std::move(d));
    }
    return out;
}

namespace {

struct MatchItem {
    int label;
    QString text;
};

std::vector<MatchItem> parseItems(const content::Matching& m, int labelCount)
{
    std::vector<MatchItem> items;
    for (const QString& s : splitItems(m.items)) {
        const qsizetype eq = s.indexOf(QLatin1Char('='));
        bool ok = false;
        const int label = eq > 0 ? s.left(eq).toInt(&ok) : -1;
        if (!ok || label < 0 || label >= labelCount || !s.contains(Blank))
            fail(QStringLiteral("bad matching item \"") + s + QStringLiteral("\""), m.intro);
        items.push_back({label, s.mid(eq + 1)});
    }
    return items;
}

} // namespace

std::vector<GroupDraft> Composer::matchingGroups(const content::Matching& m)
{
    const QStringList labels = splitItems(m.labels);
    if (labels.size() < 5) fail(QStringLiteral("matching needs five labels"), m.intro);
    std::vector<MatchItem> items = parseItems(m, int(labels.size()));
    rng_.shuffle(items);
    const QStringList links = splitLinks(m.links);
    const QString cite = citation(links);

    std::vector<GroupDraft> groups;
    size_t pos = 0;
    while (pos < items.size()) {
        size_t size = 3;
        const size_t rest = items.size() - pos;
        if (rest <= 4)
            size = rest; // the last group takes two to four items
        else if (rest == 5)
            size = 2 + rng_.below(2); // avoid leaving one item behind
        std::vector<MatchItem> group(items.begin() + qsizetype(pos), items.begin() + qsizetype(pos + size));
        pos += size;

        // Five labels: those answered, completed at random, shown in their natural order.
        std::vector<int> shown;
        for (const MatchItem& it : group)
            if (std::find(shown.begin(), shown.end(), it.label) == shown.end()) shown.push_back(it.label);
        std::vector<int> others;
        for (int i = 0; i < labels.size(); ++i)
            if (std::find(shown.begin(), shown.end(), i) == shown.end()) others.push_back(i);
        rng_.shuffle(others);
        for (size_t i = 0; shown.size() < 5; ++i)
            shown.push_back(others[i]);
        std::sort(shown.begin(), shown.end());

        GroupDraft g;
        g.type = 62;
        g.stem = QString::fromUtf8(m.intro);
        for (int i = 0; i < 5; ++i)
            g.stem += QStringLiteral("\n%1. %2").arg(letter(i), labels[shown[size_t(i)]]);
        g.stem += QStringLiteral("\n**（以下各题共用上述备选答案）**");
        for (const MatchItem& it : group) {
            const int at = int(std::find(shown.begin(), shown.end(), it.label) - shown.begin());
            Draft d;
            d.type = 62;
            d.optionCount = 5;
            d.links = links;
            d.text = it.text;
            d.answer = letter(at);
            QString solved = it.text;
            solved.replace(Blank, QStringLiteral("**") + labels[it.label] + QStringLiteral("**"));
            d.explanation = QStringLiteral("【答案】%1\n【解析】%2%3").arg(d.answer, cite, solved);
            g.subs.push_back(std::move(d));
        }
        groups.push_back(std::move(g));
    }
    return groups;
}

std::vector<Draft> Composer::matchingSingles(const content::Matching& m, const Recipe& recipe)
{
    std::vector<Draft> out;
    if (recipe.singleEvery <= 0) return out;
    const QStringList labels = splitItems(m.labels);
    const std::vector<MatchItem> items = parseItems(m, int(labels.size()));
    const QStringList links = splitLinks(m.links);
    const QString cite = citation(links);
    for (size_t i = 0; i < items.size(); i += size_t(recipe.singleEvery)) {
        const MatchItem& it = items[i];
        QStringList others;
        for (int l = 0; l < labels.size(); ++l)
            if (l != it.label) others << labels[l];
        rng_.shuffle(others);
        Draft d = choice(61, it.text, {labels[it.label]}, others.mid(0, 3), 4, links);
        QString solved = it.text;
        solved.replace(Blank, QStringLiteral("**") + labels[it.label] + QStringLiteral("**"));
        d.explanation = QStringLiteral("【答案】%1\n【解析】%2%3").arg(d.answer, cite, solved);
        out.push_back(std::move(d));
    }
    return out;
}

GroupDraft Composer::caseStudy(const content::CaseStudy& c)
{
    GroupDraft g;
    g.type = c.type;
    g.stem = QString::fromUtf8(c.stem);
    const QStringList links = splitLinks(c.links);
    for (int i = 0; i < 5 && c.subs[i].question; ++i) {
        Draft d;
        d.type = c.type;
        d.optionCount = 1;
        d.answer = QStringLiteral("1");
        d.links = links;
        d.text = QStringLiteral("%1. %2").arg(i + 1).arg(QString::fromUtf8(c.subs[i].question));
        d.explanation = QStringLiteral("【参考答案】\n") + QString::fromUtf8(c.subs[i].answer);
        g.subs.push_back(std::move(d));
    }
    if (g.subs.size() < 3) fail(QStringLiteral("a case needs three questions"), c.stem);
    return g;
}

Draft Composer::term(const content::Term& t)
{
    Draft d;
    d.type = 73;
    d.optionCount = 1;
    d.answer = QStringLiteral("1");
    d.links = splitLinks(t.links);
    d.text = QStringLiteral("请解释下列名词：**%1**").arg(QString::fromUtf8(t.term));
    d.explanation = QStringLiteral("【参考答案】\n%1：%2")
                        .arg(QString::fromUtf8(t.term), QString::fromUtf8(t.definition));
    return d;
}

Draft Composer::essay(const content::Essay& e)
{
    Draft d;
    d.type = e.type;
    d.optionCount = 1;
    d.answer = QStringLiteral("1");
    d.links = splitLinks(e.links);
    d.text = QString::fromUtf8(e.question);
    d.explanation = QStringLiteral("【参考答案】\n") + QString::fromUtf8(e.answer);
    return d;
}

Draft Composer::calculation(const content::Calculation& c)
{
    Draft d;
    d.type = 74;
    d.optionCount = 1;
    d.answer = QStringLiteral("1");
    d.text = c.text;
    d.explanation = QStringLiteral("【参考答案】\n") + c.answer;
    return d;
}

} // namespace makebank
