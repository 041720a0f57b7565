#include "ImportHelper.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include <algorithm>

namespace ImportHelper {

namespace {

using Kind = DatabaseError::Kind;
using namespace std::chrono_literals;
using namespace Qt::StringLiterals;

const QByteArray ProgressWord = "progress ";
const QByteArray SummaryWord = "summary ";
const QByteArray RefusalWord = "refusal ";

// What the helper wrote on its error output last, for the details of a failure.
constexpr qsizetype KeptErrorBytes = 4096;

QJsonArray toJson(const QStringList &list)
{
    return QJsonArray::fromStringList(list);
}

QStringList stringsOf(const QJsonValue &value)
{
    QStringList list;
    for (const QJsonValue &v : value.toArray())
        list.append(v.toString());
    return list;
}

QByteArray line(const QByteArray &word, const QJsonObject &object)
{
    return word + QJsonDocument(object).toJson(QJsonDocument::Compact) + '\n';
}

std::optional<QJsonObject> objectAfter(const QByteArray &line, const QByteArray &word)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(line.mid(word.size()), &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return std::nullopt;
    return document.object();
}

JetImport::Summary summaryOf(const QJsonObject &o)
{
    JetImport::Summary s;
    s.version = o.value(u"version").toInt();
    s.categories = o.value(u"categories").toInteger();
    s.modalities = o.value(u"modalities").toInteger();
    s.syndromes = o.value(u"syndromes").toInteger();
    s.links = o.value(u"links").toInteger();
    s.weights = o.value(u"weights").toInteger();
    s.weightsDiffering = o.value(u"weightsDiffering").toInteger();
    s.otherTables = stringsOf(o.value(u"otherTables"));
    s.otherColumns = stringsOf(o.value(u"otherColumns"));
    for (const QJsonValue &v : o.value(u"alteredTexts").toArray()) {
        const QJsonArray t = v.toArray();
        s.alteredTexts.append({t.at(0).toString(), qint32(t.at(1).toInteger()), t.at(2).toString()});
    }
    return s;
}

std::optional<DatabaseError> errorOf(const QJsonObject &o)
{
    const qint64 kind = o.value(u"kind").toInteger(-1);
    if (kind < 0 || kind > qint64(Kind::ReaderFailed))
        return std::nullopt;
    QList<DatabaseError::Detail> details;
    for (const QJsonValue &v : o.value(u"details").toArray()) {
        const QStringList d = stringsOf(v);
        details.append({d.value(0), d.value(1), d.value(2), d.value(3), d.value(4)});
    }
    return DatabaseError(Kind(kind), o.value(u"path").toString(), o.value(u"message").toString(), details);
}

JetImport::Summary run(const Program &program, const QString &jetPath, const QString &converted,
                       const JetImport::Progress &progress)
{
    QProcess helper;
    QByteArray pending, errors;
    const auto failed = [&](const char *how, const QString &message, const QString &expected = {}) {
        QFile::remove(converted);
        const QString said = QString::fromLocal8Bit(errors).trimmed();
        return DatabaseError(Kind::ReaderFailed, jetPath, said.isEmpty() ? message : message + u'\n' + said,
                             {{{}, {}, QString::fromLatin1(how), expected, {}}});
    };

    helper.setProgram(program.path);
    helper.setArguments(program.arguments + QStringList{jetPath, converted});
    helper.start(QIODevice::ReadOnly);
    if (!helper.waitForStarted(-1))
        throw failed("start", helper.errorString(), program.path);

    const qint64 size = QFileInfo(jetPath).size();
    const std::chrono::milliseconds limit = program.timeLimit ? program.timeLimit(size) : timeLimitFor(size);
    const QDeadlineTimer deadline(limit);
    std::optional<Line> answer;
    const auto readLines = [&] {
        pending += helper.readAllStandardOutput();
        errors = (errors + helper.readAllStandardError()).right(KeptErrorBytes);
        for (qsizetype end = pending.indexOf('\n'); end >= 0; end = pending.indexOf('\n')) {
            Line line = parse(pending.left(end));
            pending.remove(0, end + 1);
            if (const auto *p = std::get_if<Progress>(&line)) {
                if (progress)
                    progress(p->done, p->total);
            } else if (!std::holds_alternative<std::monostate>(line)) {
                answer = std::move(line);
            }
        }
    };
    while (helper.state() != QProcess::NotRunning) {
        if (deadline.hasExpired()) {
            helper.kill();
            helper.waitForFinished(-1);
            throw failed("time-out", QStringLiteral("stopped after %1 s").arg(limit.count() / 1000.0),
                         QString::number((limit.count() + 999) / 1000));
        }
        helper.waitForReadyRead(int(std::clamp<qint64>(deadline.remainingTime(), 0, 100)));
        readLines();
    }
    readLines();
    if (helper.exitStatus() == QProcess::CrashExit)
        throw failed("crash", QStringLiteral("the import helper crashed"));
    if (!answer || helper.exitCode() != 0)
        throw failed("no answer",
                     QStringLiteral("the import helper ended (exit code %1) without an answer").arg(helper.exitCode()));
    if (auto *refusal = std::get_if<DatabaseError>(&*answer)) {
        QFile::remove(converted);
        throw *refusal;
    }
    return std::get<JetImport::Summary>(*answer);
}

} // namespace

QString fileName()
{
#ifdef Q_OS_WIN
    return QStringLiteral("tessavor-import.exe");
#else
    return QStringLiteral("tessavor-import");
#endif
}

std::chrono::milliseconds timeLimitFor(qint64 bytes)
{
    // A sound file of 38 MB (2.4 million links) took 91 s on a busy two-core machine,
    // most of it writing the new base; ten seconds a megabyte leaves room for slower ones.
    return 60s + std::chrono::milliseconds(10 * (bytes / 1024));
}

JetImport::Converter converter(const Program &program)
{
    return [program](const QString &jetPath, const QString &converted, const JetImport::Progress &progress) {
        return run(program, jetPath, converted, progress);
    };
}

JetImport::Converter converter(const QString &path)
{
    return converter(Program{path, {}, timeLimitFor});
}

QByteArray progressLine(qint64 done, qint64 total)
{
    return ProgressWord + QByteArray::number(done) + ' ' + QByteArray::number(total) + '\n';
}

QByteArray summaryLine(const JetImport::Summary &s)
{
    QJsonArray altered;
    for (const auto &t : s.alteredTexts)
        altered.append(QJsonArray{t.table, t.number, t.text});
    return line(SummaryWord, {{u"version"_s, s.version},
                              {u"categories"_s, s.categories},
                              {u"modalities"_s, s.modalities},
                              {u"syndromes"_s, s.syndromes},
                              {u"links"_s, s.links},
                              {u"weights"_s, s.weights},
                              {u"weightsDiffering"_s, s.weightsDiffering},
                              {u"otherTables"_s, toJson(s.otherTables)},
                              {u"otherColumns"_s, toJson(s.otherColumns)},
                              {u"alteredTexts"_s, altered}});
}

QByteArray refusalLine(const DatabaseError &error)
{
    QJsonArray details;
    for (const auto &d : error.details())
        details.append(toJson({d.table, d.column, d.value, d.expected, d.context}));
    return line(RefusalWord, {{u"kind"_s, int(error.kind())},
                              {u"path"_s, error.path()},
                              {u"message"_s, error.engineMessage()},
                              {u"details"_s, details}});
}

Line parse(const QByteArray &text)
{
    if (text.startsWith(ProgressWord)) {
        const QList<QByteArray> numbers = text.mid(ProgressWord.size()).split(' ');
        bool done = false, total = false;
        const Progress p{numbers.value(0).toLongLong(&done), numbers.value(1).toLongLong(&total)};
        if (numbers.size() == 2 && done && total)
            return p;
    } else if (text.startsWith(SummaryWord)) {
        if (const auto o = objectAfter(text, SummaryWord))
            return summaryOf(*o);
    } else if (text.startsWith(RefusalWord)) {
        if (const auto o = objectAfter(text, RefusalWord))
            if (auto error = errorOf(*o))
                return *error;
    }
    return std::monostate();
}

} // namespace ImportHelper
