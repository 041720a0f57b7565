#include "JetTranslator.h"

#include "DatabaseError.h"

#include <QHash>
#include <QList>

#include <algorithm>
#include <vector>

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

// Blanks come as one token per run, so these move by one or two places.
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

[[noreturn]] void refuse(const QString &why)
{
    throw DatabaseError(DatabaseError::Kind::TooComplex, QString(), why);
}

// What a token weighs in the translated text: quoted names and strings gain their quotes.
qsizetype weight(const Token &t)
{
    return t.text.size() + (t.kind == Kind::Identifier || t.kind == Kind::String ? 2 : 0);
}

// The tokens of the translation as they are made; refuses to grow past the bound, before
// anything that large is ever held.
class Output
{
public:
    void append(const Token &token)
    {
        grow(weight(token));
        m_tokens.append(token);
    }
    // Appends again the `count` tokens made from `start` on, which weigh `weightOf`.
    void repeat(qsizetype start, qsizetype count, qsizetype weightOf)
    {
        grow(weightOf);
        m_tokens.reserve(m_tokens.size() + count);
        for (qsizetype i = 0; i < count; ++i) {
            const Token copy = m_tokens.at(start + i);
            m_tokens.append(copy);
        }
    }
    void reserve(qsizetype tokens) { m_tokens.reserve(tokens); }
    qsizetype size() const { return m_tokens.size(); }
    qsizetype length() const { return m_length; }
    const Token &at(qsizetype i) const { return m_tokens.at(i); }
    QList<Token> take() { return std::move(m_tokens); }

private:
    void grow(qsizetype by)
    {
        m_length += by;
        if (m_length > JetTranslator::MaxLength)
            refuse(QStringLiteral("l'instruction traduite dépasserait %1 caractères").arg(JetTranslator::MaxLength));
    }

    QList<Token> m_tokens;
    qsizetype m_length = 0;
};

// The parentheses of a statement: the depth before each token, and for each "(" the
// index of its ")" (the end of the statement when it has none), so that a clause is
// read at its own depth by jumping over what its parentheses hold.
struct Nesting {
    QList<int> depth;
    QList<qsizetype> close;
    int deepest = 0;

    explicit Nesting(const QList<Token> &t) : depth(t.size()), close(t.size(), t.size())
    {
        std::vector<qsizetype> open;
        int level = 0;
        for (qsizetype i = 0; i < t.size(); ++i) {
            if (isPunct(t[i], QLatin1StringView(")"))) {
                --level;
                if (!open.empty()) {
                    close[open.back()] = i;
                    open.pop_back();
                }
            }
            depth[i] = level;
            if (isPunct(t[i], QLatin1StringView("("))) {
                deepest = std::max(deepest, level + 1);
                if (++level > JetTranslator::MaxDepth)
                    refuse(QStringLiteral("l'instruction imbrique plus de %1 niveaux de parenthèses")
                               .arg(JetTranslator::MaxDepth));
                open.push_back(i);
            }
        }
    }
};

QList<Token> withoutDeleteStar(const QList<Token> &t)
{
    if (std::none_of(t.cbegin(), t.cend(),
                     [](const Token &token) { return isKeyword(token, QLatin1StringView("DELETE")); }))
        return t;
    QList<Token> out;
    out.reserve(t.size());
    for (qsizetype i = 0; i < t.size(); ++i) {
        out.append(t[i]);
        if (!isKeyword(t[i], QLatin1StringView("DELETE")))
            continue;
        const qsizetype star = nextSolid(t, i + 1);
        if (star >= t.size() || !isPunct(t[star], QLatin1StringView("*")))
            continue;
        const qsizetype from = nextSolid(t, star + 1);
        if (from < t.size() && isKeyword(t[from], QLatin1StringView("FROM"))) {
            for (qsizetype k = i + 1; k < star; ++k)
                out.append(t[k]); // the blanks before the star; the star and those after it go
            i = from - 1;
        }
    }
    return out;
}

// Expands, in every select list, the references to aliases defined earlier in that list,
// in one pass that writes each token once: a subquery is translated where it stands,
// before its select item is complete, so an alias that holds one copies it translated.
class AliasExpansion
{
public:
    explicit AliasExpansion(const QList<Token> &tokens) : t(tokens), n(tokens) {}

    QList<Token> run()
    {
        out.reserve(t.size());
        statement(0, t.size());
        return out.take();
    }

private:
    struct Alias {
        qsizetype start = 0; // its expression among the tokens made
        qsizetype count = 0;
        qsizetype weight = 0;
    };

    // Copies [from, to), expanding the select list of every SELECT met on the way.
    void statement(qsizetype from, qsizetype to)
    {
        for (qsizetype i = from; i < to;) {
            out.append(t[i]);
            if (!isKeyword(t[i], QLatin1StringView("SELECT"))) {
                ++i;
                continue;
            }
            const qsizetype end = listEnd(i + 1, to, n.depth[i]);
            selectList(i + 1, end);
            i = end;
        }
    }

    // Where the select list that starts at `from` ends: at its FROM, at ";", or where the
    // parenthesis that holds it closes.
    qsizetype listEnd(qsizetype from, qsizetype to, int depth) const
    {
        for (qsizetype i = from; i < to; ++i) {
            if (n.depth[i] < depth || isPunct(t[i], QLatin1StringView(";")) ||
                isKeyword(t[i], QLatin1StringView("FROM")))
                return i;
            if (isPunct(t[i], QLatin1StringView("(")))
                i = std::min(n.close[i], to) - 1; // its ")" is looked at next
        }
        return to;
    }

    void selectList(qsizetype from, qsizetype to)
    {
        QHash<QString, Alias> aliases; // Jet names, aliases included, compare without case
        qsizetype start = from;
        for (qsizetype i = from; i <= to; ++i) {
            if (i < to && isPunct(t[i], QLatin1StringView("(")))
                i = std::min(n.close[i], to) - 1;
            else if (i == to || isPunct(t[i], QLatin1StringView(","))) {
                item(start, i, aliases);
                if (i < to)
                    out.append(t[i]);
                start = i + 1;
            }
        }
    }

    // Where the expression of the select item [from, to) ends: before its "AS name" when it
    // has one (then `aliasName` is that name), else at its end.
    qsizetype expressionEnd(qsizetype from, qsizetype to, QString &aliasName) const
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

    // A name standing alone, neither qualified ("t.Valeur") nor called ("Sum(").
    bool isBareName(qsizetype i, qsizetype from, qsizetype to) const
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

    // The select item [from, to), with every bare reference to an earlier alias before its
    // own "AS" replaced by that alias's expression in parentheses.
    void item(qsizetype from, qsizetype to, QHash<QString, Alias> &aliases)
    {
        QString aliasName;
        const qsizetype exprEnd = expressionEnd(from, to, aliasName);
        const qsizetype made = out.size();
        const qsizetype weightBefore = out.length();
        qsizetype exprCount = -1;
        qsizetype exprWeight = 0;
        for (qsizetype i = from; i < to; ++i) {
            if (i == exprEnd) {
                exprCount = out.size() - made;
                exprWeight = out.length() - weightBefore;
            }
            if (isPunct(t[i], QLatin1StringView("(")) && nextSolid(t, i + 1) < to &&
                isKeyword(t[nextSolid(t, i + 1)], QLatin1StringView("SELECT"))) {
                // A subquery has a select list of its own.
                const qsizetype end = std::min(n.close[i] + 1, to);
                statement(i, end);
                i = end - 1;
                continue;
            }
            const auto alias =
                i < exprEnd && isBareName(i, from, to) ? aliases.constFind(t[i].text.toCaseFolded()) : aliases.cend();
            if (alias == aliases.cend()) {
                out.append(t[i]);
                continue;
            }
            out.append({Kind::Punct, QStringLiteral("(")});
            out.repeat(alias->start, alias->count, alias->weight);
            out.append({Kind::Punct, QStringLiteral(")")});
        }
        if (aliasName.isEmpty())
            return;
        // The expression without the blanks around it.
        qsizetype first = made;
        qsizetype last = made + exprCount;
        Alias alias;
        alias.weight = exprWeight;
        while (first < last && out.at(first).kind == Kind::Space)
            alias.weight -= weight(out.at(first++));
        while (last > first && out.at(last - 1).kind == Kind::Space)
            alias.weight -= weight(out.at(--last));
        alias.start = first;
        alias.count = last - first;
        // The first definition of a name is the one that counts.
        const QString key = aliasName.toCaseFolded();
        if (!aliases.contains(key))
            aliases.insert(key, alias);
    }

    const QList<Token> &t;
    const Nesting n;
    Output out;
};

// Marks, in one pass, the token after which each ORDER BY term gets the French collation:
// the term's last token, or the one before its ASC or DESC; a term that names a collation
// keeps it. A clause ends at LIMIT, OFFSET, a compound operator, ";" or the parenthesis
// that holds it. Each depth of parentheses has its own term, so that an ORDER BY inside a
// subquery or a window ends where its parenthesis closes.
class OrderByTerms
{
public:
    explicit OrderByTerms(const QList<Token> &tokens)
        : t(tokens), n(tokens), levels(size_t(n.deepest) + 2), marks(size_t(tokens.size()), false)
    {}

    std::vector<bool> run()
    {
        for (qsizetype i = 0; i < t.size(); ++i)
            i = read(i);
        for (Term &term : levels)
            if (term.active)
                finish(term);
        return std::move(marks);
    }

private:
    struct Term {
        bool active = false;
        qsizetype last = -1;
        qsizetype previous = -1;
        bool hasCollation = false;
    };

    Term &level(int depth) { return levels[size_t(std::clamp(depth, 0, n.deepest + 1))]; }

    void finish(Term &term)
    {
        qsizetype last = term.last;
        if (last >= 0 &&
            (isKeyword(t[last], QLatin1StringView("ASC")) || isKeyword(t[last], QLatin1StringView("DESC"))))
            last = term.previous;
        if (!term.hasCollation && last >= 0)
            marks[size_t(last)] = true;
        term.last = term.previous = -1;
        term.hasCollation = false;
    }

    static bool endsClause(const Token &token)
    {
        static const QLatin1StringView stops[] = {QLatin1StringView("LIMIT"), QLatin1StringView("OFFSET"),
                                                  QLatin1StringView("UNION"), QLatin1StringView("EXCEPT"),
                                                  QLatin1StringView("INTERSECT")};
        return isPunct(token, QLatin1StringView(";")) ||
               std::any_of(std::begin(stops), std::end(stops),
                           [&](QLatin1StringView w) { return isKeyword(token, w); });
    }

    // Reads the token at `i`; returns the last index it used (the BY of an ORDER BY).
    qsizetype read(qsizetype i)
    {
        const int depth = n.depth[i];
        if (isPunct(t[i], QLatin1StringView(")"))) {
            Term &inner = level(depth + 1);
            if (inner.active) {
                finish(inner);
                inner.active = false;
            }
        }
        Term &term = level(depth);
        if (term.active && t[i].kind != Kind::Space) {
            if (isPunct(t[i], QLatin1StringView(","))) {
                finish(term);
                return i;
            }
            if (endsClause(t[i])) {
                finish(term);
                term.active = false;
            } else {
                term.hasCollation = term.hasCollation || isKeyword(t[i], QLatin1StringView("COLLATE"));
                term.previous = term.last;
                term.last = i;
            }
        }
        if (!isKeyword(t[i], QLatin1StringView("ORDER")))
            return i;
        const qsizetype by = nextSolid(t, i + 1);
        if (by >= t.size() || !isKeyword(t[by], QLatin1StringView("BY")))
            return i;
        if (term.active)
            finish(term);
        term = Term{true};
        return by;
    }

    const QList<Token> &t;
    const Nesting n;
    std::vector<Term> levels;
    std::vector<bool> marks;
};

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
    if (jetStatement.size() > MaxLength)
        refuse(QStringLiteral("l'instruction dépasse %1 caractères").arg(MaxLength));
    const QList<Token> tokens = AliasExpansion(withoutDeleteStar(tokenize(jetStatement))).run();
    const std::vector<bool> collateAfter = OrderByTerms(tokens).run();

    QString out;
    out.reserve(jetStatement.size() + jetStatement.size() / 4 + 32);
    for (qsizetype i = 0; i < tokens.size(); ++i) {
        const Token &t = tokens[i];
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
        if (collateAfter[i])
            out += QStringLiteral(" COLLATE ") + QLatin1StringView(Collation);
        if (out.size() > MaxLength)
            refuse(QStringLiteral("l'instruction traduite dépasserait %1 caractères").arg(MaxLength));
    }
    return out;
}

} // namespace JetTranslator
