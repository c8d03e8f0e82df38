// The configurator as a person uses it with the module's screens: a screen opened from the list, a
// company chosen in it, the screen left with Esc, and the next screen receiving that company back.
#include "CaixasTeste.h"
#include "RaizTeste.h"
#include "host/Configurador.h"
#include "runtime/Application.h"
#include "runtime/Forms.h"
#include "runtime/StdCtrls.h"

#include <QLabel>
#include <QListWidget>
#include <QStatusBar>
#include <QtTest>

extern "C" void Initialize();
extern "C" void Finalize();

namespace {

bool Ativa(QWidget* W)
{
    W->activateWindow();
    return QTest::qWaitForWindowActive(W);
}

// Opens the screen of the list's first row, with Enter or with a double click, and waits for it.
TForm* AbrePrimeira(TConfigurador& C, bool PorDuploClique)
{
    const std::size_t Antes = C.Abertas().size();
    if (!Ativa(&C))
        return nullptr;
    C.Lista()->setFocus();
    C.Lista()->setCurrentRow(0);
    const QPoint Centro = C.Lista()->visualItemRect(C.Lista()->item(0)).center();
    if (PorDuploClique)
        QTest::mouseDClick(C.Lista()->viewport(), Qt::LeftButton, {}, Centro);
    else
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    return C.Abertas().size() == Antes + 1 && Ativa(C.Abertas().back()) ? C.Abertas().back() : nullptr;
}

} // namespace

class ConfiguradorTeste : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { Initialize(); }
    void cleanupTestCase() { Finalize(); }

    void EmpresaPassaDeUmaTelaAOutra()
    {
        TCaixasTeste Caixas;
        TRaizTeste R;
        R.MultiEmpresa();
        R.CriaEmpresa("00000123");
        R.CriaEmpresa("00000456");
        TRaizTeste::Grava(R.Pasta / "CfKovan.ini", "[config]\r\nraiz=" + R.RaizTexto() + "\r\n");
        Application().SetExeName((R.Pasta / "cfkovan").string());
        auto Info = std::make_unique<TInfoModulo>();
        ObtemInformacoes(Info.get());
        TConfigurador C(TelasDoDescritor(*Info), "Configurador Mirabelo.", '0');
        TTabCallBack Tabela{};
        Tabela.CallBack0 = &TConfigurador::Notificacao;
        CallBackInformacoes(&Tabela);
        const QString Nivel = "user root: level 0 (full rights) from file access";
        C.MostraNivel(Nivel.toStdString());
        C.show();
        QCOMPARE(C.Lista()->count(), 3);
        QCOMPARE(C.Lista()->item(2)->text(), QString("Transações Habilitadas"));

        TForm* Tela = AbrePrimeira(C, false);
        QVERIFY(Tela);
        QCOMPARE(Tela->metaObject()->className(), "TFormEstabelecimento_167171");
        auto* Caixa = Tela->findChild<TComboBox*>("ComboBoxEmpresa");
        QTRY_COMPARE(QApplication::focusWidget(), Caixa);
        QCOMPARE(C.statusBar()->currentMessage(), QString("Selecione a empresa para configurar."));
        QCOMPARE(C.statusBar()->findChild<QLabel*>("LabelNivel")->text(), Nivel);  // the hints leave it
        QTest::keyClick(Caixa, Qt::Key_V, Qt::ControlModifier); // empties the box
        QTest::keyClicks(QApplication::focusWidget(), "00000456");
        QCOMPARE(C.Empresa(), std::string("00000456"));
        QPointer<TForm> Fechada = Tela;
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        QTRY_VERIFY(!Fechada);
        QCOMPARE(C.Trocas().back().Codigo, 0);

        // The next screen receives the company chosen in the last one.
        Tela = AbrePrimeira(C, true);
        QVERIFY(Tela);
        QCOMPARE(Tela->findChild<TComboBox*>("ComboBoxEmpresa")->Text(), std::string("00000456"));

        // Mode digit 8: the company is fixed.
        C.SetDigitoModo('8');
        Tela = AbrePrimeira(C, false);
        QVERIFY(Tela);
        QTRY_VERIFY(!Tela->findChild<TComboBox*>("ComboBoxEmpresa")->isEnabled());
        C.FechaTodas();
        QVERIFY(Caixas.Caixas.empty());
    }
};

QTEST_MAIN(ConfiguradorTeste)
#include "Configurador_test.moc"
