// TStringGrid's data cells: CP1252 bytes kept exactly and shown as their Unicode characters, text
// from Qt stored as CP1252, and a load of many cells told to the view once.
#include "runtime/Grids.h"
#include "runtime/Texto.h"

#include <QHeaderView>
#include <QSignalSpy>
#include <QtTest>

class GradeTeste : public QObject {
    Q_OBJECT
private slots:
    void CelulaGuardaBytesEMostraUnicode()
    {
        TStringGrid Grade;
        Grade.SetColCount(2);
        Grade.SetRowCount(3);
        QSignalSpy Mudou(Grade.model(), &QAbstractItemModel::dataChanged);
        Grade.SetCells(1, 2, "\x80\xE9");
        QCOMPARE(Grade.model()->data(Grade.model()->index(1, 1)).toString(), QString::fromUtf8("€é"));

        // Text from Qt (a title translated, say): characters outside the code page, a pair of
        // surrogates (one character) and lone halves each become one '?'.
        const QString Fora = QString::fromUtf8("\xE2\x82\xAC\xC4\x80") + QChar(0xD83D) + QChar(0xDE00) + "a" +
                             QChar(0xD83D) + "b" + QChar(0xDE00);
        Grade.SetCells(1, 2, Cp1252DeQString(Fora));
        QCOMPARE(Grade.Cells(1, 2), std::string("\x80??a?b?"));
        QCOMPARE(Mudou.count(), 2);
        Grade.SetCells(1, 2, "\x80??a?b?");  // the same text again: nothing to tell
        QCOMPARE(Mudou.count(), 2);
    }

    // Inside a load the view hears of rows at once (so it never shows a row it does not have) and of
    // the cells once, at the end.
    void CargaAvisaAVistaUmaVez()
    {
        TStringGrid Grade;
        Grade.SetColCount(3);
        Grade.SetRowCount(2);
        Grade.resize(300, 200);
        Grade.show();
        QVERIFY(QTest::qWaitForWindowExposed(&Grade));
        QSignalSpy Mudou(Grade.model(), &QAbstractItemModel::dataChanged);
        Grade.IniciaCarga();
        Grade.SetRowCount(52);
        QCOMPARE(Grade.verticalHeader()->count(), 51);
        for (int L = 1; L <= 50; ++L)
            for (int C = 0; C < 3; ++C)
                Grade.SetCells(C, L, "L" + std::to_string(L) + "C" + std::to_string(C));
        QCOMPARE(Mudou.count(), 0);
        Grade.TerminaCarga();
        QCOMPARE(Mudou.count(), 1);
        QCOMPARE(Mudou[0][0].toModelIndex(), Grade.model()->index(0, 0));
        QCOMPARE(Mudou[0][1].toModelIndex(), Grade.model()->index(50, 2));
        QCOMPARE(Grade.model()->data(Grade.model()->index(49, 2)).toString(), QString("L50C2"));
        Grade.SetCells(0, 1, "depois");  // after the load, one notice per cell again
        QCOMPARE(Mudou.count(), 2);
    }
};

QTEST_MAIN(GradeTeste)
#include "Grids_test.moc"
