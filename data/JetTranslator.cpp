#include "JetTranslator.h"

#include <QList>

#include <algorithm>

namespace {

enum class Kind { Space, Word, Number, Identifier, String, Punct };

struct Token {
    Kind kind;
    QString text; // for Identifier and String: the unquoted content
};

bool isWordStart(QChar c)
{
    return c.isLetter() || c == QLatin1Char('_') || c.unicode() >= 0x80;
}

bool isWordChar(QChar c)
{
    return isWordStart(c) || c.isDigit() || c == QLatin1Char('$');
}

// Reads a quoted run that ends with `close`; a doubled closing character stands for itself.
QString readQuoted(const QString &s, qsizetype &i, QChar close)
{
    QString out;
    ++i; // opening character
    while (i < s.size()) {
        if (s[i] == close) {
            if (i + 1 < s.size() && s[i + 1] == close && close != QLatin1Char(']')) {
                out += close;
                i += 2;
                continue;
            }
            ++i;
            return out;
        }
        out += s[i++];
    }
    return out; // unterminated: keep what there is, the engine will report the error
}

QList<Token> tokenize(const QString &s)
{
    QList<Token> tokens;
    qsizetype i = 0;
    while (i < s.size()) {
        const QChar c = s[i];
        const qsizetype start = i;
        if (c.isSpace()) {
            while (i < s.size() && s[i].isSpace())
                ++i;
            tokens.append({Kind::Space, s.mid(start, i - start)});
        } else if (c.isDigit()) {
            while (i < s.size() && (s[i].isDigit() || s[i] == QLatin1Char('.')))
                ++i;
            tokens.append({Kind::Number, s.mid(start, i - start)});
        } else if (isWordStart(c)) {
            while (i < s.size() && isWordChar(s[i]))
                ++i;
            tokens.append({Kind::Word, s.mid(start, i - start)});
        } else if (c == QLatin1Char('`')) {
            tokens.append({Kind::Identifier, readQuoted(s, i, QLatin1Char('`'))});
        } else if (c == QLatin1Char('[')) {
            tokens.append({Kind::Identifier, readQuoted(s, i, QLatin1Char(']'))});
        } else if (c == QLatin1Char('"')) {
            tokens.append({Kind::String, readQuoted(s, i, QLatin1Char('"'))});
        } else if (c == QLatin1Char('\'')) {
            tokens.append({Kind::String, readQuoted(s, i, QLatin1Char('\''))});
        } else {
            static const QStringList twoChar = {QStringLiteral("<="), QStringLiteral(">="), QStringLiteral("<>"),
                                                QStringLiteral("!="), QStringLiteral("||")};
            const QString two = s.mid(i, 2);
            const qsizetype len = twoChar.contains(two) ? 2 : 1;
            tokens.append({Kind::Punct, s.mid(i, len)});
            i += len;
        }
    }
    return tokens;
}

bool isKeyword(const Token &t, QLatin1StringView word)
{
    return t.kind == Kind::Word && t.text.compare(word, Qt::CaseInsensitive) == 0;
}

bool isPunct(const Token &t, QLatin1StringView p)
{
    return t.kind == Kind::Punct && t.text == p;
}

bool isName(const Token &t)
{
    return t.kind == Kind::Word || t.kind == Kind::Identifier;
}

qsizetype nextSolid(const QList<Token> &t, qsizetype i)
{
    while (i < t.size() && t[i].kind == Kind::Space)
        ++i;
    return i;
}

qsizetype previousSolid(const QList<Token> &t, qsizetype i)
{
    while (i >= 0 && t[i].kind == Kind::Space)
        --i;
    return i;
}

// Paren depth just before each token.
QList<int> depths(const QList<Token> &t)
{
    QList<int> d(t.size());
    int depth = 0;
    for (qsizetype i = 0; i < t.size(); ++i) {
        if (isPunct(t[i], QLatin1StringView(")")))
            --depth;
        d[i] = depth;
        if (isPunct(t[i], QLatin1StringView("(")))
            ++depth;
    }
    return d;
}

// End (exclusive) of a clause that starts at `from` at paren depth `depth`: the clause
// stops at a closing parenthesis below its depth, at ";", or at one of `stopWords`.
qsizetype clauseEnd(const QList<Token> &t, const QList<int> &d, qsizetype from, int depth,
                    std::initializer_list<QLatin1StringView> stopWords)
{
    for (qsizetype i = from; i < t.size(); ++i) {
        if (d[i] < depth || (d[i] == depth && isPunct(t[i], QLatin1StringView(";"))))
            return i;
        if (d[i] == depth)
            for (auto w : stopWords)
                if (isKeyword(t[i], w))
                    return i;
    }
    return t.size();
}

// Splits [from, to) at commas of the given depth.
QList<std::pair<qsizetype, qsizetype>> splitAtCommas(const QList<Token> &t, const QList<int> &d, qsizetype from,
                                                     qsizetype to, int depth)
{
    QList<std::pair<qsizetype, qsizetype>> parts;
    qsizetype start = from;
    for (qsizetype i = from; i < to; ++i)
        if (d[i] == depth && isPunct(t[i], QLatin1StringView(","))) {
            parts.append({start, i});
            start = i + 1;
        }
    parts.append({start, to});
    return parts;
}

void removeDeleteStar(QList<Token> &t)
{
    for (qsizetype i = 0; i < t.size(); ++i) {
        if (!isKeyword(t[i], QLatin1StringView("DELETE")))
            continue;
        const qsizetype star = nextSolid(t, i + 1);
        if (star >= t.size() || !isPunct(t[star], QLatin1StringView("*")))
            continue;
        const qsizetype from = nextSolid(t, star + 1);
        if (from < t.size() && isKeyword(t[from], QLatin1StringView("FROM")))
            t.remove(star, from - star); // the star and the blanks after it
    }
}

struct Alias {
    QString name;
    QList<Token> expression; // as rewritten, without surrounding blanks
};

// Where the expression of the select item [from, to) ends: before its "AS name" when it
// has one (then `aliasName` is that name), else at its end.
qsizetype expressionEnd(const QList<Token> &t, qsizetype from, qsizetype to, QString &aliasName)
{
    const qsizetype last = previousSolid(t, to - 1);
    if (last < from || !isName(t[last]))
        return to;
    const qsizetype as = previousSolid(t, last - 1);
    if (as < from || !isKeyword(t[as], QLatin1StringView("AS")))
        return to;
    aliasName = t[last].text;
    return as;
}

// The end (exclusive, at most `to`) of the subquery that t[open] opens, or -1 when t[open]
// is not a "(" followed by SELECT.
qsizetype subqueryEnd(const QList<Token> &t, const QList<int> &d, qsizetype open, qsizetype to)
{
    if (!isPunct(t[open], QLatin1StringView("(")))
        return -1;
    const qsizetype inner = nextSolid(t, open + 1);
    if (inner >= to || !isKeyword(t[inner], QLatin1StringView("SELECT")))
        return -1;
    qsizetype close = inner;
    while (close < to && !(d[close] == d[open] && isPunct(t[close], QLatin1StringView(")"))))
        ++close;
    return std::min(close + 1, to);
}

// A name standing alone, neither qualified ("t.Valeur") nor called ("Sum(").
bool isBareName(const QList<Token> &t, qsizetype i, qsizetype from, qsizetype to)
{
    if (!isName(t[i]))
        return false;
    const qsizetype before = previousSolid(t, i - 1);
    const qsizetype after = nextSolid(t, i + 1);
    const bool qualified = (before >= from && isPunct(t[before], QLatin1StringView("."))) ||
                           (after < to && isPunct(t[after], QLatin1StringView(".")));
    const bool call = after < to && isPunct(t[after], QLatin1StringView("("));
    return !qualified && !call;
}

// Jet names, aliases included, compare without case.
const Alias *findAlias(const QList<Alias> &aliases, const QString &name)
{
    for (const Alias &alias : aliases)
        if (alias.name.compare(name, Qt::CaseInsensitive) == 0)
            return &alias;
    return nullptr;
}

// The select item [from, to) with every bare reference to an earlier alias, up to
// `exprEnd`, replaced by that alias's expression in parentheses. A subquery has a select
// list of its own and is copied untouched.
QList<Token> rewriteItem(const QList<Token> &t, const QList<int> &d, qsizetype from, qsizetype to, qsizetype exprEnd,
                         const QList<Alias> &aliases)
{
    QList<Token> item;
    for (qsizetype i = from; i < to; ++i) {
        if (const qsizetype end = subqueryEnd(t, d, i, to); end >= 0) {
            item.append(t.mid(i, end - i));
            i = end - 1;
            continue;
        }
        const Alias *alias = i < exprEnd && isBareName(t, i, from, to) ? findAlias(aliases, t[i].text) : nullptr;
        if (!alias) {
            item.append(t[i]);
            continue;
        }
        item.append({Kind::Punct, QStringLiteral("(")});
        item.append(alias->expression);
        item.append({Kind::Punct, QStringLiteral(")")});
    }
    return item;
}

QList<Token> withoutSurroundingBlanks(QList<Token> tokens)
{
    while (!tokens.isEmpty() && tokens.first().kind == Kind::Space)
        tokens.removeFirst();
    while (!tokens.isEmpty() && tokens.last().kind == Kind::Space)
        tokens.removeLast();
    return tokens;
}

// Replaces, in every select list, references to aliases defined earlier in that list.
void expandSelectAliases(QList<Token> &t)
{
    for (qsizetype s = 0; s < t.size(); ++s) {
        if (!isKeyword(t[s], QLatin1StringView("SELECT")))
            continue;
        const QList<int> d = depths(t);
        const qsizetype end = clauseEnd(t, d, s + 1, d[s], {QLatin1StringView("FROM")});
        const auto items = splitAtCommas(t, d, s + 1, end, d[s]);

        QList<Alias> aliases;
        QList<Token> rebuilt;
        for (qsizetype n = 0; n < items.size(); ++n) {
            const auto [from, to] = items[n];
            QString aliasName;
            const qsizetype exprEnd = expressionEnd(t, from, to, aliasName);
            const QList<Token> item = rewriteItem(t, d, from, to, exprEnd, aliases);
            if (!aliasName.isEmpty())
                aliases.append({aliasName, withoutSurroundingBlanks(item.mid(0, item.size() - (to - exprEnd)))});
            if (n > 0)
                rebuilt.append({Kind::Punct, QStringLiteral(",")});
            rebuilt.append(item);
        }
        t.remove(s + 1, end - (s + 1));
        for (qsizetype k = 0; k < rebuilt.size(); ++k)
            t.insert(s + 1 + k, rebuilt[k]);
    }
}

void collateOrderBy(QList<Token> &t)
{
    for (qsizetype o = 0; o < t.size(); ++o) {
        if (!isKeyword(t[o], QLatin1StringView("ORDER")))
            continue;
        const qsizetype by = nextSolid(t, o + 1);
        if (by >= t.size() || !isKeyword(t[by], QLatin1StringView("BY")))
            continue;
        const QList<int> d = depths(t);
        const int depth = d[o];
        const qsizetype end =
            clauseEnd(t, d, by + 1, depth,
                      {QLatin1StringView("LIMIT"), QLatin1StringView("OFFSET"), QLatin1StringView("UNION"),
                       QLatin1StringView("EXCEPT"), QLatin1StringView("INTERSECT")});
        const auto terms = splitAtCommas(t, d, by + 1, end, depth);
        // From the last term backwards, so that insertions keep earlier indexes valid.
        for (qsizetype n = terms.size() - 1; n >= 0; --n) {
            auto [from, to] = terms[n];
            bool hasCollation = false;
            for (qsizetype i = from; i < to; ++i)
                hasCollation = hasCollation || (d[i] == depth && isKeyword(t[i], QLatin1StringView("COLLATE")));
            qsizetype last = previousSolid(t, to - 1);
            if (hasCollation || last < from)
                continue;
            if (isKeyword(t[last], QLatin1StringView("ASC")) || isKeyword(t[last], QLatin1StringView("DESC")))
                last = previousSolid(t, last - 1);
            if (last < from)
                continue;
            const QList<Token> collate = {{Kind::Space, QStringLiteral(" ")},
                                          {Kind::Word, QStringLiteral("COLLATE")},
                                          {Kind::Space, QStringLiteral(" ")},
                                          {Kind::Word, QString::fromLatin1(JetTranslator::Collation)}};
            for (qsizetype k = 0; k < collate.size(); ++k)
                t.insert(last + 1 + k, collate[k]);
        }
    }
}

QString quoted(const QString &text, QChar quote)
{
    QString doubled = text;
    doubled.replace(quote, QString(2, quote));
    return quote + doubled + quote;
}

} // namespace

namespace JetTranslator {

QString toSqlite(const QString &jetStatement)
{
    QList<Token> tokens = tokenize(jetStatement);
    removeDeleteStar(tokens);
    expandSelectAliases(tokens);
    collateOrderBy(tokens);

    QString out;
    out.reserve(jetStatement.size() + 32);
    for (const Token &t : std::as_const(tokens)) {
        switch (t.kind) {
        case Kind::Identifier:
            out += quoted(t.text, QLatin1Char('"'));
            break;
        case Kind::String:
            out += quoted(t.text, QLatin1Char('\''));
            break;
        default:
            out += t.text;
        }
    }
    return out;
}

} // namespace JetTranslator
