#include "EditionOffer.h"
#include "MessageBox.h"
#include "TestSupport.h"

#include <QDir>
#include <QTest>

using namespace Qt::StringLiterals;
using TestSupport::readFile;
using TestSupport::writeFile;

// What start-up tells and asks of a newer bundled edition, answered through the message
// box seam; a file's stamp is read from its words, "edition:checksum".
class TestEditionOffer : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    std::optional<AppPaths::CopyRecord> m_memory;
    const AppPaths::CopyMemory m_remembered{[this] { return m_memory; },
                                            [this](const AppPaths::CopyRecord &r) { m_memory = r; }};

    // The user's changed copy of edition 2 offered edition 3.
    AppPaths::KnowledgeBase offer()
    {
        AppPaths::KnowledgeBase kb(writeFile(m_dir.filePath(u"user/Signes.mdb"_s), "2:mine"), {},
                                   writeFile(m_dir.filePath(u"shared/Signes.mdb"_s), "3:new"));
        kb.newEdition = 3;
        kb.keptName = m_dir.filePath(u"user/Signes-2026-12-07.mdb"_s);
        m_memory = AppPaths::CopyRecord{{2, "old"}, 0};
        return kb;
    }
    static AppPaths::FileOperations files()
    {
        AppPaths::FileOperations ops = AppPaths::FileOperations::system();
        ops.edition = [](const QString &path) { return std::optional<int>(readFile(path).split(':')[0].toInt()); };
        ops.checksum = [](const QString &path) { return readFile(path).split(':').value(1); };
        return ops;
    }

private slots:
    void initTestCase() { MessageBox::setTesting(true); }

    void aChangedCopyIsOfferedTheNewEdition()
    {
        const AppPaths::KnowledgeBase kb = offer();
        MessageBox::setNextAnswer(MessageBox::Answer::Cancel);
        EditionOffer::atStart(kb, m_remembered, files());
        const MessageBox::Shown asked = MessageBox::takeShown().value(0);
        QCOMPARE(std::pair(asked.buttons, asked.icon),
                 std::pair(MessageBox::Buttons::OkCancel, MessageBox::Icon::Question));
        QVERIFY2(asked.text.startsWith(
                     u"Une nouvelle édition (3) de la base de connaissances est livrée avec Tessavor, "
                     "mais votre copie « %1 » a été modifiée"_s.arg(QDir::toNativeSeparators(kb.database))),
                 qPrintable(asked.text));
        QVERIFY(asked.text.contains(u"sous « %1 »"_s.arg(QDir::toNativeSeparators(kb.keptName))));
        // Annuler keeps the user's base, and this edition is not offered again.
        QCOMPARE(readFile(kb.database), "2:mine"_ba);
        QCOMPARE(m_memory->keptAgainst, 3);

        // OK takes it: the user's base kept beside it under the dated name.
        EditionOffer::atStart(offer(), m_remembered, files());
        QCOMPARE(MessageBox::takeShown().size(), 1);
        QCOMPARE(readFile(kb.database), "3:new"_ba);
        QCOMPARE(readFile(kb.keptName), "2:mine"_ba);
        QCOMPARE(m_memory->madeFrom.checksum, "new"_ba);
    }

    void anUnchangedCopyReplacedIsTold()
    {
        AppPaths::KnowledgeBase kb(m_dir.filePath(u"user/Signes.mdb"_s), {}, {});
        kb.previousCopy = m_dir.filePath(u"user/Signes-2026-12-07.mdb"_s);
        EditionOffer::atStart(kb, m_remembered, files());
        const QList<MessageBox::Shown> shown = MessageBox::takeShown();
        QCOMPARE(shown.size(), 1);
        QVERIFY2(shown[0].text.endsWith(
                     u"L'ancienne est gardée sous « %1 »."_s.arg(QDir::toNativeSeparators(kb.previousCopy))),
                 qPrintable(shown[0].text));
    }
};

QTEST_MAIN(TestEditionOffer)
#include "tst_editionoffer.moc"
