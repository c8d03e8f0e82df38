#include "runtime/StdCtrls.h"

#include "runtime/ComCtrls.h"
#include "runtime/Grids.h"

#include <QSignalSpy>
#include <QtTest>

// Change and click events come from the user only; code that sets texts, states or items raises none.
class ControlesTeste : public QObject {
    Q_OBJECT

private slots:
    void EditMudaSoPeloUsuario()
    {
        TEdit Edit;
        QSignalSpy Mudou(&Edit, &TEdit::Change);
        Edit.SetText("C\xF3""digo");
        QCOMPARE(Edit.Text(), std::string("C\xF3""digo"));
        QCOMPARE(Mudou.count(), 0);
        QTest::keyClicks(&Edit, "x");
        QCOMPARE(Mudou.count(), 1);

        // KeyPress may drop or replace a key.
        connect(&Edit, &TEdit::KeyPress, &Edit, [](char& Tecla) {
            if (Tecla == '-')
                Tecla = '\0';
            else if (Tecla == 'a')
                Tecla = 'A';
        });
        Edit.SetText("");
        QTest::keyClicks(&Edit, "a-b");
        QCOMPARE(Edit.Text(), std::string("Ab"));
    }

    void ComboMudaSoPeloUsuario()
    {
        TComboBox Combo;
        QSignalSpy Mudou(&Combo, &TComboBox::Change);
        Combo.SetItems({"00000123", "00000456"});
        Combo.SetItemIndex(1);
        Combo.SetText("0000");
        Combo.AddItem("Todas");
        Combo.ClearItems();
        QCOMPARE(Combo.Text(), std::string("0000"));
        QCOMPARE(Mudou.count(), 0);
        QTest::keyClicks(Combo.lineEdit(), "1");
        QCOMPARE(Mudou.count(), 1);
        QCOMPARE(Combo.Text(), std::string("00001"));
    }

    void CliquesSoPeloUsuario()
    {
        TCheckBox Marca;
        TPageControl Paginas;
        auto* P1 = new TTabSheet(&Paginas);
        new TTabSheet(&Paginas);
        TTabSet Abas;
        QSignalSpy CliqueMarca(&Marca, &TCheckBox::Click), MudouPagina(&Paginas, &TPageControl::Change),
            CliqueAba(&Abas, &TTabSet::Click);
        Marca.SetChecked(true);
        Paginas.SetActivePageIndex(1);
        Abas.SetTabs({"D\xE9""bito", "Combust\xEDvel"});
        Abas.SetTabIndex(1);
        QCOMPARE(CliqueMarca.count() + MudouPagina.count() + CliqueAba.count(), 0);
        P1->SetCaption("Cr\xE9""dito");
        QCOMPARE(Paginas.tabText(0), QString("Crédito"));
        QCOMPARE(Abas.Tab(1), std::string("Combust\xEDvel"));
        QTest::keyClick(&Marca, Qt::Key_Space);
        QCOMPARE(CliqueMarca.count(), 1);
        QVERIFY(!Marca.Checked());
    }

    // Row 0 is the header; cells outside the grid are ignored.
    void GradeLinhaZeroETitulo()
    {
        TStringGrid Grade;
        Grade.SetColCount(3);
        Grade.SetRowCount(2);
        Grade.SetCells(0, 0, "Bin ou Intervalo de Bins");
        Grade.SetCells(2, 1, "      X");
        Grade.SetCells(0, 5, "fora");
        QCOMPARE(Grade.horizontalHeaderItem(0)->text(), QString("Bin ou Intervalo de Bins"));
        QCOMPARE(Grade.Cells(2, 1), std::string("      X"));
        QCOMPARE(Grade.Cells(1, 1), std::string());
        QCOMPARE(Grade.RowCount(), 2);
    }
};

QTEST_MAIN(ControlesTeste)
#include "StdCtrls_test.moc"
