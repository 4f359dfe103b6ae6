// SPDX-FileCopyrightText: 2026 Mossgrovity
// SPDX-License-Identifier: GPL-3.0-or-later
// The name entry and the high-score list, driven through real windows offscreen with a fake
// clock, a pinned deal and scripted answers; the file is checked on disk.
#include "tests/highscores/diskfiles.h"
#include "tests/highscores/filewrites.h"
#include "tests/support/rig.h"

#include "ui/frmabout.h"
#include "ui/frmentername.h"
#include "ui/frmhighscores.h"

#include "game/cues.h"
#include "highscores/highscores.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QFile>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPointer>
#include <QTest>

using highscores::HighScoreTable;
using support::Rig;

namespace {

QString filePath(const Rig &rig)
{
    return rig.directory.filePath(highscores::FileName);
}

QByteArray defaultFile()
{
    return QByteArrayLiteral("\"Mossgrovity\",0\r\n").repeated(10);
}

void setTable(HighScoreTable &table, const QStringList &names, const QList<int> &scores)
{
    for (int k = 1; k <= highscores::Slots; ++k) {
        table.hsnames[k] = names[k - 1];
        table.hsscores[k] = static_cast<std::int16_t>(scores[k - 1]);
    }
}

QStringList namesOf(const HighScoreTable &table)
{
    return QStringList(table.hsnames.begin() + 1, table.hsnames.begin() + 1 + highscores::Slots);
}

QList<int> scoresOf(const HighScoreTable &table)
{
    return QList<int>(table.hsscores.begin() + 1, table.hsscores.begin() + 1 + highscores::Slots);
}

QStringList shownNames(const ui::frmHighScores &list)
{
    QStringList names;
    for (const ui::CaptionLabel *label : list.nimet)
        names << label->caption();
    return names;
}

QStringList shownScores(const ui::frmHighScores &list)
{
    QStringList scores;
    for (const ui::CaptionLabel *label : list.scoret)
        scores << label->caption();
    return scores;
}

// Types text into a box key by key, as a keyboard with every character on it would.
void type(QWidget *box, const QString &text)
{
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

const QStringList AToJ = {"A", "B", "C", "D", "E", "F", "G", "H", "I", "J"};

// Opens a secondary window the way the player does: "high scores" and "About" by their
// buttons, "name entry" by a game total that enters the default table (77 into slot 1).
QWidget *open(Rig &rig, const QString &which)
{
    if (which == QLatin1String("high scores")) {
        Rig::click(rig.main().Command2);
        return rig.highScores();
    }
    if (which == QLatin1String("About")) {
        Rig::click(rig.main().Command5);
        return rig.about();
    }
    if (which == QLatin1String("name entry")) {
        rig.module1.gamescore = 77;
        rig.main().showhighscores();
        return rig.enterName();
    }
    return nullptr;
}

} // namespace

class HighScoreWindowsTest : public QObject
{
    Q_OBJECT

private slots:
    void qualifyingGameLeadsThroughTheNameToTheSortedList()
    {
        Rig rig;
        const QString path = filePath(rig);
        QCOMPARE(fileBytes(path), defaultFile()); // created at start-up
        // Entries far from any game total, so that its place in the list is known: above the
        // negative ones, below the thousands. Slot 1 holds the lowest.
        setTable(rig.module1.table,
                 {"Eve", "Al", "Di", "Bo", "Cy", "Fay", "Gus", "Hal", "Ida", "Jo"},
                 {-9, 1000, -5, 2000, -3, 3000, -1, 4000, -2, 5000});
        FileWrites writes(rig.directory.path(), highscores::FileName);
        QVERIFY(writes.watching());

        Rig::click(rig.main().Command1);
        rig.fillBoard();
        bool isNumber = false;
        const int total = rig.main().Label4->caption().trimmed().toInt(&isNumber);
        QVERIFY(isNumber);

        ui::frmEnterName *entry = rig.enterName();
        QVERIFY(entry != nullptr);
        QVERIFY(entry->isVisible());
        QVERIFY(!rig.main().isEnabled());
        QCOMPARE(rig.sound.count(game::Cue::HighScore), 1);
        QCOMPARE(rig.module1.lowestslot, 1);
        QCOMPARE(rig.module1.table.hsscores[1], total);
        QCOMPARE(rig.module1.table.hsnames[1], QStringLiteral("Eve"));
        QCOMPARE(entry->Text1->text(), QString());

        QTest::keyClicks(entry->Text1, QStringLiteral("Ann"));
        QVERIFY(rig.highScores() == nullptr);
        QTest::keyClick(entry->Text1, Qt::Key_Return);

        QVERIFY(rig.enterName() == nullptr);
        ui::frmHighScores *list = rig.highScores();
        QVERIFY(list != nullptr);
        QVERIFY(list->isVisible());
        const QStringList sortedNames = {"Jo",  "Hal", "Fay", "Bo", "Al",
                                         "Ann", "Gus", "Ida", "Cy", "Di"};
        const QList<int> sortedScores = {5000, 4000, 3000, 2000, 1000, total, -1, -2, -3, -5};
        QCOMPARE(shownNames(*list), sortedNames);
        QCOMPARE(shownScores(*list),
                 (QStringList {" 5000", " 4000", " 3000", " 2000", " 1000",
                               QStringLiteral(" %1").arg(total), "-1", "-2", "-3", "-5"}));
        QCOMPARE(namesOf(rig.module1.table), sortedNames);
        QVERIFY(!rig.main().isEnabled());
        // The accepted name reaches the file at once, in the list's order.
        QCOMPARE(writes.count(), 1);
        HighScoreTable early;
        QCOMPARE(highscores::loadhighscores(early, path), highscores::LoadOutcome::Read);
        QCOMPARE(early, rig.module1.table);

        Rig::click(list->Command1);
        QVERIFY(rig.highScores() == nullptr);
        QVERIFY(rig.main().isEnabled());

        Rig::click(rig.main().Command3);
        QCOMPARE(writes.count(), 2);
        QCOMPARE(rig.windows.endings, 1);
        HighScoreTable saved;
        QCOMPARE(highscores::loadhighscores(saved, path), highscores::LoadOutcome::Read);
        QCOMPARE(namesOf(saved), sortedNames);
        QCOMPARE(scoresOf(saved), sortedScores);
    }

    void totalThatDoesNotEnterOpensNothing()
    {
        Rig rig;
        rig.module1.gamescore = 0;
        rig.main().showhighscores();
        QVERIFY(rig.enterName() == nullptr);
        QVERIFY(rig.main().isEnabled());
        QCOMPARE(rig.sound.count(game::Cue::HighScore), 0);
        QCOMPARE(rig.module1.table.hsscores[1], 0);
    }

    void nameBoxTakesOnlyWhatTheFileCanHold_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("pasted");
        QTest::addColumn<QString>("name");
        QTest::newRow("double quote typed") << "Ann\"Lee" << QString() << "AnnLee";
        QTest::newRow("eleven letters typed") << "Abcdefghijk" << QString() << "Abcdefghij";
        QTest::newRow("Latin-1 letters typed")
            << "Zo\u00eb \u00d8" << QString() << "Zo\u00eb \u00d8";
        QTest::newRow("letters beyond Latin-1 typed") << "A\u20acB\u0100" << QString() << "AB";
        QTest::newRow("quote and line break pasted") << QString() << "Bo\"b\nby"
                                                     << "Bobby";
        QTest::newRow("quoted line pasted") << "X"
                                            << "\"Ann\"\r\n"
                                            << "XAnn";
        QTest::newRow("quote pasted at the limit") << "Abcdefgh"
                                                   << "i\"j"
                                                   << "Abcdefghij";
        QTest::newRow("quotes pasted over the limit") << "Abcdefgh"
                                                      << "\"\"i\"jk"
                                                      << "Abcdefghij";
        QTest::newRow("nothing typed") << QString() << QString() << QString();
    }

    void nameBoxTakesOnlyWhatTheFileCanHold()
    {
        QFETCH(QString, typed);
        QFETCH(QString, pasted);
        QFETCH(QString, name);
        Rig rig;
        open(rig, QStringLiteral("name entry"));
        ui::frmEnterName *entry = rig.enterName();
        QVERIFY(entry != nullptr);

        type(entry->Text1, typed);
        if (!pasted.isEmpty()) {
            QGuiApplication::clipboard()->setText(pasted);
            QTest::keySequence(entry->Text1, QKeySequence::Paste);
        }
        QCOMPARE(entry->Text1->text(), name);
        QTest::keyClick(entry->Text1, Qt::Key_Enter);

        ui::frmHighScores *list = rig.highScores();
        QVERIFY(list != nullptr);
        QCOMPARE(list->nimet[0]->caption(), name);
        QCOMPARE(list->scoret[0]->caption(), QStringLiteral(" 77"));
        Rig::click(list->Command1);
        Rig::click(rig.main().Command3);

        const QByteArray file = fileBytes(filePath(rig));
        QCOMPARE(file.count('"'), 2 * highscores::Slots);
        QCOMPARE(file.count('\n'), highscores::Slots);
        HighScoreTable saved;
        QCOMPARE(highscores::loadhighscores(saved, filePath(rig)), highscores::LoadOutcome::Read);
        QCOMPARE(saved.hsnames[1], name);
        QCOMPARE(saved.hsscores[1], 77);
    }

    void nameBoxIsEmptyEachTimeItOpens()
    {
        Rig rig;
        ui::frmEnterName *entry = qobject_cast<ui::frmEnterName *>(open(rig, "name entry"));
        QVERIFY(entry != nullptr);
        QTest::keyClicks(entry->Text1, QStringLiteral("First"));
        Rig::click(entry->Command2);
        Rig::click(rig.highScores()->Command1);

        rig.module1.gamescore = 78;
        rig.main().showhighscores();
        QVERIFY(rig.enterName() != nullptr);
        QCOMPARE(rig.enterName()->Text1->text(), QString());
        QCOMPARE(rig.module1.table.hsnames[2], QStringLiteral("Mossgrovity"));
        QCOMPARE(rig.module1.table.hsscores[2], 78);
    }

    void deleteQuestionClearsTheListOnYesOnly_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("deletes");
        QTest::newRow("Yes") << platform::AnswerYes << true;
        QTest::newRow("No") << platform::AnswerNo << false;
    }

    void deleteQuestionClearsTheListOnYesOnly()
    {
        QFETCH(int, answer);
        QFETCH(bool, deletes);
        Rig rig;
        setTable(rig.module1.table, AToJ, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10});
        QVERIFY(highscores::savehighscores(rig.module1.table));
        const QByteArray fileBefore = fileBytes(filePath(rig));
        FileWrites writes(rig.directory.path(), highscores::FileName);

        Rig::click(rig.main().Command2);
        ui::frmHighScores *list = rig.highScores();
        QVERIFY(list != nullptr);
        const QStringList sortedNames = {"J", "I", "H", "G", "F", "E", "D", "C", "B", "A"};
        const QStringList sortedScores = {" 10", " 9", " 8", " 7", " 6",
                                          " 5",  " 4", " 3", " 2", " 1"};
        QCOMPARE(shownNames(*list), sortedNames);
        QCOMPARE(shownScores(*list), sortedScores);

        bool keptInFrontWhileAsking = true;
        rig.windows.whileAsking = [&] { keptInFrontWhileAsking = list->Timer1.isActive(); };
        rig.windows.answers = {answer};
        Rig::click(list->Command2);

        QCOMPARE(rig.windows.questions,
                 QStringList {"Tavrin 1.0 Warning!: Do you really want to delete High Scores?"});
        QVERIFY(!keptInFrontWhileAsking);
        QVERIFY(list->Timer1.isActive());
        QVERIFY(rig.highScores() == list);
        QVERIFY(list->isVisible());
        QVERIFY(!rig.main().isEnabled());
        if (deletes) {
            QCOMPARE(shownNames(*list), QStringList(10, QStringLiteral("Mossgrovity")));
            QCOMPARE(shownScores(*list), QStringList(10, QStringLiteral(" 0")));
            QCOMPARE(namesOf(rig.module1.table), QStringList(10, QStringLiteral("Mossgrovity")));
            QCOMPARE(scoresOf(rig.module1.table), QList<int>(10, 0));
            QCOMPARE(writes.count(), 1);
            QCOMPARE(fileBytes(filePath(rig)), defaultFile());
        } else {
            QCOMPARE(shownNames(*list), sortedNames);
            QCOMPARE(shownScores(*list), sortedScores);
            QCOMPARE(namesOf(rig.module1.table), sortedNames);
            QCOMPARE(writes.count(), 0);
            QCOMPARE(fileBytes(filePath(rig)), fileBefore);
        }
    }

    void programEndingDuringTheDeleteQuestionDeletesNothing()
    {
        Rig rig;
        setTable(rig.module1.table, AToJ, {10, 9, 8, 7, 6, 5, 4, 3, 2, 1});
        FileWrites writes(rig.directory.path(), highscores::FileName);
        Rig::click(rig.main().Command2);
        QPointer<ui::frmHighScores> list = rig.highScores();
        QVERIFY(list != nullptr);

        // A close request while the question is open; the list is gone before the answer.
        rig.windows.whileAsking = [&] {
            rig.main().close();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        };
        rig.windows.answers = {platform::AnswerYes};
        Rig::click(list->Command2);

        QVERIFY(list.isNull());
        QCOMPARE(rig.windows.endings, 1);
        QCOMPARE(writes.count(), 1);
        QCOMPARE(namesOf(rig.module1.table), AToJ);
        QCOMPARE(fileBytes(filePath(rig)), highscores::formatHighScores(rig.module1.table));
    }

    void exitWritesTheFileOnceAndEnds()
    {
        Rig rig;
        rig.module1.table.hsnames[3] = QStringLiteral("Exit");
        rig.module1.table.hsscores[3] = 33;
        FileWrites writes(rig.directory.path(), highscores::FileName);

        Rig::click(rig.main().Command3);
        QCOMPARE(writes.count(), 1);
        QCOMPARE(rig.windows.endings, 1);
        QCOMPARE(fileBytes(filePath(rig)), highscores::formatHighScores(rig.module1.table));

        rig.main().close(); // what the window system does with what is left: nothing more
        QCOMPARE(writes.count(), 1);
        QCOMPARE(rig.windows.endings, 1);
    }

    void closeRequestSavesOnceClosesEveryWindowAndEnds_data()
    {
        QTest::addColumn<QString>("opened");
        QTest::newRow("nothing open") << QString();
        QTest::newRow("name entry open") << QStringLiteral("name entry");
        QTest::newRow("About open") << QStringLiteral("About");
        QTest::newRow("high scores open") << QStringLiteral("high scores");
    }

    void closeRequestSavesOnceClosesEveryWindowAndEnds()
    {
        QFETCH(QString, opened);
        Rig rig;
        FileWrites writes(rig.directory.path(), highscores::FileName);
        if (!opened.isEmpty())
            QVERIFY(open(rig, opened) != nullptr);
        if (rig.enterName())
            QTest::keyClicks(rig.enterName()->Text1, QStringLiteral("Zed"));
        const HighScoreTable atClose = rig.module1.table;

        rig.main().close();
        QCOMPARE(writes.count(), 1);
        QCOMPARE(rig.windows.endings, 1);
        QVERIFY(!rig.main().isVisible());
        QVERIFY(rig.enterName() == nullptr);
        QVERIFY(rig.highScores() == nullptr);
        QVERIFY(rig.about() == nullptr);
        HighScoreTable saved;
        QCOMPARE(highscores::loadhighscores(saved, filePath(rig)), highscores::LoadOutcome::Read);
        QCOMPARE(namesOf(saved), namesOf(atClose));
        QCOMPARE(scoresOf(saved), scoresOf(atClose));
        if (opened == QLatin1String("name entry")) {
            // The new score is kept with the old name: the typed one was never accepted.
            QCOMPARE(saved.hsscores[1], 77);
            QCOMPARE(saved.hsnames[1], QStringLiteral("Mossgrovity"));
        }
    }

    void desktopCloseOfASecondaryWindowDoesWhatItsButtonDoes_data()
    {
        QTest::addColumn<QString>("opened");
        QTest::newRow("high scores") << QStringLiteral("high scores");
        QTest::newRow("About") << QStringLiteral("About");
        QTest::newRow("name entry") << QStringLiteral("name entry");
    }

    void desktopCloseOfASecondaryWindowDoesWhatItsButtonDoes()
    {
        QFETCH(QString, opened);
        Rig rig;
        FileWrites writes(rig.directory.path(), highscores::FileName);
        QPointer<QWidget> window = open(rig, opened);
        QVERIFY(window != nullptr);
        QVERIFY(!rig.main().isEnabled());

        if (opened == QLatin1String("name entry")) {
            QTest::keyClicks(rig.enterName()->Text1, QStringLiteral("Kim"));
            window->close();
            QVERIFY(rig.enterName() == nullptr);
            QVERIFY(!rig.main().isEnabled());
            ui::frmHighScores *list = rig.highScores();
            QVERIFY(list != nullptr);
            QCOMPARE(list->nimet[0]->caption(), QStringLiteral("Kim"));
            window = list;
        }
        window->close();
        QVERIFY(window.isNull() || !window->isVisible());
        QVERIFY(rig.highScores() == nullptr);
        QVERIFY(rig.about() == nullptr);
        QVERIFY(rig.main().isEnabled());
        // Only the accepted name is saved before the end.
        QCOMPARE(writes.count(), opened == QLatin1String("name entry") ? 1 : 0);
        QCOMPARE(rig.windows.endings, 0);
    }
};

QTEST_MAIN(HighScoreWindowsTest)
#include "tst_highscore_windows.moc"
