#include "runtime/StdCtrls.h"

#include "runtime/ComCtrls.h"
#include "runtime/Forms.h"
#include "runtime/Grids.h"

#include <QSignalSpy>
#include <QtTest>

// What the screens do not show on their own: a label's width, many combo entries at once, captions in
// CP1252 and the keyboard on a check box; the string grid's header and refused moves.
class ControlesTeste : public QObject {
    Q_OBJECT

private slots:
    // A label takes the width of its caption unless AutoSize is off.
    void RotuloAutoSize()
    {
        TLabel Rotulo;
        Rotulo.SetBounds(11, 11, 10, 14);
        Rotulo.SetCaption("Empresa");
        QCOMPARE(Rotulo.width(), Rotulo.sizeHint().width());
        Rotulo.SetAutoSize(false);
        Rotulo.resize(137, 13);
        Rotulo.SetCaption("C\xF3""digo de Estabelecimento:");
        QCOMPARE(Rotulo.size(), QSize(137, 13));
    }

    // Ten thousand companies go in through one model update; the edit text stays.
    void ComboEntradasEmUmaAtualizacao()
    {
        TComboBox Combo;
        QSignalSpy Reiniciou(Combo.model(), &QAbstractItemModel::modelReset);
        std::vector<std::string> Empresas;
        for (int I = 0; I < 10000; ++I)
            Empresas.push_back(QString::number(I).rightJustified(8, '0').toStdString());
        Combo.SetText("0000");
        Combo.SetItems(Empresas);
        QCOMPARE(Reiniciou.count(), 1);
        QCOMPARE(Combo.ItemCount(), 10000);
        QCOMPARE(Combo.Text(), std::string("0000"));
    }

    // Page and tab captions are CP1252; Space on a check box clicks it.
    void LegendasEEspaco()
    {
        TCheckBox Marca;
        TPageControl Paginas;
        auto* P1 = new TTabSheet(&Paginas);
        TTabSet Abas;
        QSignalSpy CliqueMarca(&Marca, &TCheckBox::Click);
        Marca.SetChecked(true);
        Abas.SetTabs({"D\xE9""bito", "Combust\xEDvel"});
        P1->SetCaption("Cr\xE9""dito");
        QCOMPARE(Paginas.tabText(0), QString("Crédito"));
        QCOMPARE(Abas.Tab(1), std::string("Combust\xEDvel"));
        QCOMPARE(Abas.tabText(1), QString("Combustível"));
        QTest::keyClick(&Marca, Qt::Key_Space);
        QCOMPARE(CliqueMarca.count(), 1);
        QVERIFY(!Marca.Checked());
    }

    // Row 0 is the header; cells outside the grid are ignored; a move the handler refuses keeps the
    // current row, by key and by mouse.
    void GradeTituloESelecao()
    {
        TStringGrid Grade;
        Grade.SetColCount(3);
        Grade.SetRowCount(4);
        Grade.SetSelecaoLinha(true);
        Grade.SetCells(0, 0, "Bin ou Intervalo de Bins");
        Grade.SetCells(0, 5, "fora");
        QCOMPARE(Grade.model()->headerData(0, Qt::Horizontal).toString(), QString("Bin ou Intervalo de Bins"));
        QCOMPARE(Grade.RowCount(), 4);
        Grade.resize(300, 200);
        Grade.show();
        QVERIFY(QTest::qWaitForWindowExposed(&Grade));
        std::vector<int> Pedidas;
        connect(&Grade, &TStringGrid::SelectCell, &Grade, [&](int, int Linha, bool& Pode) {
            Pedidas.push_back(Linha);
            Pode = Linha != 3;
        });
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
    }
};

QTEST_MAIN(ControlesTeste)
#include "StdCtrls_test.moc"
