#include "runtime/StdCtrls.h"

#include "runtime/ComCtrls.h"
#include "runtime/Forms.h"
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

        // A label takes the width of its caption unless AutoSize is off.
        TLabel Rotulo;
        Rotulo.SetBounds(11, 11, 10, 14);
        Rotulo.SetCaption("Empresa");
        QCOMPARE(Rotulo.width(), Rotulo.sizeHint().width());
        QCOMPARE(Rotulo.pos(), QPoint(11, 11));
        Rotulo.SetAutoSize(false);
        Rotulo.resize(137, 13);
        Rotulo.SetCaption("C\xF3""digo de Estabelecimento:");
        QCOMPARE(Rotulo.size(), QSize(137, 13));
    }

    // The entries go in through one model update, the edit text stays, and no Change is raised; the
    // list opened and closed from code raises no CloseUp, closed by the user it does.
    void ComboEntradasEmUmaAtualizacao()
    {
        TComboBox Combo;
        Combo.show();
        QVERIFY(QTest::qWaitForWindowExposed(&Combo));
        QSignalSpy Mudou(&Combo, &TComboBox::Change), Fechou(&Combo, &TComboBox::CloseUp);
        QSignalSpy Reiniciou(Combo.model(), &QAbstractItemModel::modelReset);
        std::vector<std::string> Empresas;
        for (int I = 0; I < 10000; ++I)
            Empresas.push_back(QString::number(I).rightJustified(8, '0').toStdString());
        Combo.SetText("0000");
        Combo.SetItems(Empresas);
        QCOMPARE(Reiniciou.count(), 1);
        QCOMPARE(Combo.ItemCount(), 10000);
        QCOMPARE(Combo.Text(), std::string("0000"));
        QCOMPARE(Combo.ItemIndex(), -1);
        Combo.InsertItem(0, "Todas");
        QCOMPARE(Combo.IndexOf("TODAS"), 0);
        Combo.SetItemIndex(2);
        QCOMPARE(Combo.Text(), std::string("00000001"));
        Combo.SetDroppedDown(true);
        QVERIFY(Combo.DroppedDown());
        Combo.SetDroppedDown(false);
        QVERIFY(!Combo.DroppedDown());
        Combo.ClearItems();
        QCOMPARE(Combo.Text(), std::string("00000001"));
        QCOMPARE(Mudou.count() + Fechou.count(), 0);

        // With the list open the typed keys still reach the edit part.
        Combo.SetItems({"00000123", "00000456"});
        Combo.SetText("");
        Combo.SetDroppedDown(true);
        QTest::keyClicks(Combo.view(), "0001");
        QCOMPARE(Combo.Text(), std::string("0001"));
        QCOMPARE(Mudou.count(), 4);
        QTest::keyClick(Combo.view(), Qt::Key_Escape);
        QTRY_VERIFY(!Combo.DroppedDown());
        QCOMPARE(Fechou.count(), 1);
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

    // Row 0 is the header; cells outside the grid are ignored; a move the handler refuses keeps the
    // current row, by key and by mouse; a double click reaches DblClick.
    void GradeTituloESelecao()
    {
        TStringGrid Grade;
        Grade.SetColCount(3);
        Grade.SetRowCount(4);
        Grade.SetSelecaoLinha(true);
        Grade.SetCells(0, 0, "Bin ou Intervalo de Bins");
        Grade.SetCells(2, 1, "      X");
        Grade.SetCells(0, 5, "fora");
        QCOMPARE(Grade.model()->headerData(0, Qt::Horizontal).toString(), QString("Bin ou Intervalo de Bins"));
        QCOMPARE(Grade.Cells(2, 1), std::string("      X"));
        QCOMPARE(Grade.Cells(1, 1), std::string());
        QCOMPARE(Grade.RowCount(), 4);
        Grade.resize(300, 200);
        Grade.show();
        QVERIFY(QTest::qWaitForWindowExposed(&Grade));
        std::vector<int> Pedidas;
        connect(&Grade, &TStringGrid::SelectCell, &Grade, [&](int, int Linha, bool& Pode) {
            Pedidas.push_back(Linha);
            Pode = Linha != 3;
        });
        QSignalSpy Duplo(&Grade, &TStringGrid::DblClick);
        Grade.SetRow(1);
        QTest::keyClick(&Grade, Qt::Key_Down);
        QCOMPARE(Grade.Row(), 2);
        QTest::keyClick(&Grade, Qt::Key_Down);
        QCOMPARE(Grade.Row(), 2);
        const QPoint Linha3 = Grade.visualRect(Grade.model()->index(2, 0)).center();
        QTest::mouseClick(Grade.viewport(), Qt::LeftButton, {}, Linha3);
        QCOMPARE(Grade.Row(), 2);
        QVERIFY(Grade.selectionModel()->isRowSelected(1));
        QVERIFY(!Grade.selectionModel()->isRowSelected(2));
        QCOMPARE(Pedidas, (std::vector<int>{2, 3, 3}));
        QTest::mouseDClick(Grade.viewport(), Qt::LeftButton, {}, Grade.visualRect(Grade.model()->index(0, 1)).center());
        QCOMPARE(Duplo.count(), 1);
    }

    // The hourglass and back.
    void Cursor()
    {
        const TCursor Salvo = Screen().Cursor();
        Screen().SetCursor(crHourGlass);
        QCOMPARE(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
        Screen().SetCursor(Salvo);
        QCOMPARE(QApplication::overrideCursor(), nullptr);
    }
};

QTEST_MAIN(ControlesTeste)
#include "StdCtrls_test.moc"
