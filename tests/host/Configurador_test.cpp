// The configurator as a person uses it with the module's screens: a screen opened from the list, a
// company chosen in it, the screen left with Esc, and the next screen receiving that company back.
#include "CaixasTeste.h"
#include "RaizTeste.h"
#include "host/Configurador.h"
#include "runtime/Application.h"
#include "runtime/Forms.h"
#include "runtime/StdCtrls.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
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

    // At view-only level nothing a person can reach in a screen changes a file: every enabled field
    // of each screen is typed into and every enabled box clicked, then Salvar and Excluir, with every
    // question answered Yes and the first choice.
    void ConsultaNaoMudaArquivos()
    {
        TCaixasTeste Caixas;
        TRaizTeste R;
        R.MultiEmpresa();
        const std::string Conteudo = "[Geral]\r\nCodigoEstabelecimento=000000000000123\r\n[TrnHabilitada]\r\n"
                                     "DebitoVista=1\r\nCancelamento=0\r\n[TabBins]\r\nTotDeb=1\r\n[Debito_01]\r\n"
                                     "Nome=A\r\nBins=601234;\r\nSenha=0\r\n";
        for (const char* Empresa : {"00000123", "00000456"}) {
            R.CriaEmpresa(Empresa);
            TRaizTeste::Grava(R.IniEmpresa(Empresa), Conteudo);
        }
        TRaizTeste::Grava(R.Raiz / "config" / "Mirabelo.ini", "[TabBins]\r\nTotDeb=1\r\n[Debito_01]\r\nNome=G\r\nBins=601234;\r\n");
        TRaizTeste::Grava(R.Pasta / "CfKovan.ini", "[config]\r\nraiz=" + R.RaizTexto() + "\r\n");
        Application().SetExeName((R.Pasta / "cfkovan").string());
        auto Info = std::make_unique<TInfoModulo>();
        ObtemInformacoes(Info.get());
        TConfigurador C(TelasDoDescritor(*Info), "Configurador Mirabelo.", '0');
        TTabCallBack Tabela{};
        Tabela.NivelUsuario = 2;
        Tabela.CallBack0 = &TConfigurador::Notificacao;
        CallBackInformacoes(&Tabela);
        C.show();
        const auto Antes = TRaizTeste::Retrato(R.Raiz);
        for (const TTela& Tela : TelasDoDescritor(*Info)) {
            TForm* Form = C.Abre(Tela.Classe);
            QVERIFY(Form && Ativa(Form));
            QCoreApplication::processEvents();
            Caixas.RespostasCaixa.assign(50, IDYES);
            Caixas.RespostasPergunta.assign(50, 1);
            const auto Alcanca = [](QWidget* W) { return W->isVisible() && W->isEnabled(); };
            for (QLineEdit* Campo : Form->findChildren<QLineEdit*>())
                if (Alcanca(Campo) && !qobject_cast<QComboBox*>(Campo->parentWidget()))
                    QTest::keyClicks(Campo, "9");
            for (QAbstractButton* Botao : Form->findChildren<QAbstractButton*>())
                if (Alcanca(Botao) && Botao->isCheckable())
                    Botao->click();
            for (const char* Nome : {"BitBtnSalvar", "BitBtnExcluirBins", "BitBtnExcluir"})
                if (auto* Botao = Form->findChild<QAbstractButton*>(Nome); Botao && Alcanca(Botao))
                    Botao->click();
            QCoreApplication::processEvents();
            C.FechaTodas();
            QCOMPARE(TRaizTeste::Retrato(R.Raiz), Antes);
        }
        Tabela.NivelUsuario = 0;
        CallBackInformacoes(&Tabela);
    }
};

QTEST_MAIN(ConfiguradorTeste)
#include "Configurador_test.moc"
