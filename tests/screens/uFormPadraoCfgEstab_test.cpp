// The company box and what every screen inherits: showing with the host's exchanges, filtering as the
// user types, unknown codes, keys, the host's restrictions, enabling, group mode and closing. Driven
// through "Estabelecimento", the module's first screen, created by class name.
#include "TelaTeste.h"
#include "db/ApiBanco.h"
#include "host/BancoDemo.h"
#include "runtime/ComCtrls.h"
#include "runtime/Grids.h"
#include "runtime/StdCtrls.h"
#include "screens/uFormPadraoCfgEstab.h"
#include "support/msgmodulos.h"

#include <QAbstractItemView>
#include <QClipboard>
#include <QMessageBox>
#include <QTimer>

namespace {

const std::vector<std::pair<std::string, std::string>> TresEmpresas = {
    {"12340000", "000000000000111"}, {"12350000", ""}, {"99990000", "000000000000333"}};

bool ListaAberta(const TTelaTeste& T) { return T.Controle<QComboBox>("ComboBoxEmpresa")->view()->isVisible(); }

std::vector<std::string> Ordenada(std::vector<std::string> Lista)
{
    std::sort(Lista.begin(), Lista.end());
    return Lista;
}

} // namespace

class PadraoCfgEstabTeste : public QObject {
    Q_OBJECT

private slots:
    // Showing asks the host in the order of the exchange table and shows the host's company when it
    // exists, else the first listed (directory order, hence "" below).
    void MostraComAEmpresaDoHost_data()
    {
        QTest::addColumn<QString>("Host");
        QTest::addColumn<QString>("Mostrada");
        QTest::newRow("host-conhecida") << "12350000" << "12350000";
        QTest::newRow("host-desconhecida") << "55555555" << "";
        QTest::newRow("host-curta") << "1234    " << "";
    }
    void MostraComAEmpresaDoHost()
    {
        QFETCH(QString, Host);
        QFETCH(QString, Mostrada);
        TTelaTeste T;
        T.Empresas(TresEmpresas);
        T.Respostas[301] = Host.toStdString();
        T.Abre();
        const std::string Codigo = Mostrada.isEmpty() ? T.Itens().front() : Mostrada.toStdString();
        QCOMPARE(T.Texto("ComboBoxEmpresa"), Codigo);
        std::vector<int> Recebidos = T.Codigos();
        Recebidos.resize(std::min<std::size_t>(Recebidos.size(), 10));
        QCOMPARE(Recebidos, (std::vector<int>{501, 301, 509, 510, 507, 301, 1, 509, 508, 300}));
        QCOMPARE(T.Trocas[9], (TTroca{300, Codigo}));
        QVERIFY(T.Controle<QTabWidget>("PageControlEstab")->findChild<QTabBar*>()->isHidden());
        QVERIFY(!T.Controle("GroupBoxEmpresa")->isVisible());
        QCOMPARE(QApplication::focusWidget(), T.Controle("ComboBoxEmpresa"));
        QCOMPARE(T.Trocas.back(), (TTroca{100, "Selecione a empresa para configurar."}));
        QCOMPARE(QApplication::overrideCursor(), nullptr); // the hourglass of the loading is gone
    }

    // Typing filters the list and keeps it open with the configuration disabled; the list follows the
    // folder between two keys; F4 empties the box and opens what it holds; Ctrl+V and anything but
    // letters and digits type nothing; a complete code closes the list and tells the host.
    void FiltraEnquantoDigita()
    {
        TTelaTeste T;
        T.Empresas(TresEmpresas);
        T.Abre();
        T.Tecla(Qt::Key_F4);
        QCOMPARE(T.Texto("ComboBoxEmpresa"), std::string());
        T.Digita("1-2 3");
        QCOMPARE(Ordenada(T.Itens()), (std::vector<std::string>{"12340000", "12350000"}));
        QVERIFY(ListaAberta(T));
        QVERIFY(!T.Habilitado("EditCodigoEstab") && !T.Habilitado("BitBtnExcluir"));
        QVERIFY(T.Habilitado("BitBtnRetornar") && T.Habilitado("Label2"));
        T.Digita("4");
        QCOMPARE(T.Itens(), (std::vector<std::string>{"12340000"}));
        QGuiApplication::clipboard()->setText("12350000");
        T.Tecla(Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(T.Texto("ComboBoxEmpresa"), std::string());
        T.Digita("123");
        T.Tecla(Qt::Key_F4);
        QVERIFY(ListaAberta(T));
        QCOMPARE(T.Itens().size(), 2u);

        T.Raiz.CriaEmpresa("12360000");
        std::filesystem::remove(T.Raiz.Raiz / "config" / "12340000.cnf");
        T.Digita("1");
        QCOMPARE(Ordenada(T.Itens()), (std::vector<std::string>{"12350000", "12360000"}));
        T.Tecla(Qt::Key_Backspace);
        QCOMPARE(Ordenada(T.Itens()), (std::vector<std::string>{"12350000", "12360000", "99990000"}));

        T.Digita("1235");
        const std::size_t Antes = T.Trocas.size();
        T.Digita("0000");
        QVERIFY(!ListaAberta(T));
        QCOMPARE(T.Texto("ComboBoxEmpresa"), std::string("12350000"));
        QCOMPARE(T.Itens().size(), 3u);
        QVERIFY(T.Habilitado("EditCodigoEstab"));
        QCOMPARE(T.Codigos(Antes), (std::vector<int>{509, 508, 300}));
        QVERIFY(T.Caixas.empty());
    }

    // A complete code typed that names no company: message 178, then the host's company, else the box's
    // first entry, else nothing when typing had filtered the box down to no entry. "Todas" on a screen
    // that does not offer it is such a code (the screen that offers it: the BIN tables). Leaving the box
    // (Sai): a complete code that names nothing is cleared silently; 8 characters holding blanks bring
    // message 179 and are cleared; a listed company and a partial code stay.
    void CodigoNaCaixa_data()
    {
        QTest::addColumn<QString>("Host");
        QTest::addColumn<QString>("Digitado");
        QTest::addColumn<bool>("Sai");
        QTest::addColumn<bool>("RemoveArquivo");
        QTest::addColumn<QString>("Mostrada");
        QTest::addColumn<int>("Mensagem");
        QTest::newRow("volta-a-do-host") << "99990000" << "12340001" << false << false << "99990000" << 178;
        QTest::newRow("primeira-da-lista") << "55555555" << "12350001" << false << false << "12350000" << 178;
        QTest::newRow("lista-vazia") << "55555555" << "77777777" << false << false << "" << 178;
        QTest::newRow("todas-sem-oferta") << "99990000" << "tOdAs" << false << false << "99990000" << 178;
        QTest::newRow("sai-listada") << "" << "12340000" << true << false << "12340000" << 0;
        QTest::newRow("sai-arquivo-sumiu") << "" << "12340000" << true << true << "" << 0;
        QTest::newRow("sai-com-brancos") << "" << "1234000 " << true << false << "" << 179;
        QTest::newRow("sai-curta") << "" << "123" << true << false << "123" << 0;
    }
    void CodigoNaCaixa()
    {
        QFETCH(QString, Host);
        QFETCH(QString, Digitado);
        QFETCH(bool, Sai);
        QFETCH(bool, RemoveArquivo);
        QFETCH(QString, Mostrada);
        QFETCH(int, Mensagem);
        TTelaTeste T;
        T.Empresas(TresEmpresas);
        T.Abre();
        T.Respostas[301] = Host.toStdString();
        if (RemoveArquivo)
            std::filesystem::remove(T.Raiz.Raiz / "config" / "12340000.cnf");
        if (Sai) { // blanks cannot be typed: the text is put in the box
            T.Controle<TComboBox>("ComboBoxEmpresa")->SetText(Digitado.toStdString());
            T.Tecla(Qt::Key_Tab);
        } else {
            T.Tecla(Qt::Key_F4);
            T.Digita(Digitado.toLatin1().constData());
        }
        QCOMPARE(T.Texto("ComboBoxEmpresa"), Mostrada.toStdString());
        const unsigned Icone = Mensagem == 178 ? MB_ICONERROR : MB_ICONWARNING;
        QCOMPARE(T.Dialogos(), Mensagem == 0 ? QString() : "Configurador Mirabelo.: " +
                                                              QStringDeCp1252(LeMensagens(Mensagem)) + " (0x" +
                                                              QString::number(MB_OK | Icone, 16) + ")");
        if (!Sai)
            QCOMPARE(T.Habilitado("EditCodigoEstab"), !Mostrada.isEmpty());
    }

    // The host's restrictions: "2" leaves only Return usable, also after another company is picked;
    // "8" disables the box; a single-company server types nothing into it.
    void RestricoesDoHost_data()
    {
        QTest::addColumn<bool>("Multi");
        QTest::addColumn<QString>("Modo");
        QTest::newRow("so-visualiza") << true << "2";
        QTest::newRow("empresa-fixa") << true << "8";
        QTest::newRow("uma-empresa") << false << "0";
    }
    void RestricoesDoHost()
    {
        QFETCH(bool, Multi);
        QFETCH(QString, Modo);
        TTelaTeste T;
        if (Multi)
            T.Empresas(TresEmpresas);
        T.Raiz.CriaEmpresa("00000000");
        T.Respostas[501] = Modo.toStdString();
        T.Abre();
        auto* Caixa = T.Controle<QComboBox>("ComboBoxEmpresa");
        const std::string Antes = T.Texto("ComboBoxEmpresa");
        QCOMPARE(Caixa->isEnabled(), Modo != "8");
        Caixa->setFocus();
        QTest::keyClick(Caixa, Qt::Key_F4);
        QTest::keyClicks(Caixa, "1");
        QCOMPARE(T.Texto("ComboBoxEmpresa"), Modo == "8" ? Antes : Modo == "2" ? std::string("1") : std::string());
        if (!Multi)
            QCOMPARE(T.Itens(), (std::vector<std::string>{"00000000"}));
        if (Modo != "2")
            return;
        const std::string Outra = T.Itens()[1];
        Caixa->showPopup();
        QTest::mouseClick(Caixa->view()->viewport(), Qt::LeftButton, {},
                          Caixa->view()->visualRect(Caixa->model()->index(1, 0)).center());
        QCoreApplication::processEvents();
        QCOMPARE(T.Trocas.back(), (TTroca{300, Outra}));
        for (const char* Nome : {"EditCodigoEstab", "BitBtnSalvar", "BitBtnCancelar", "BitBtnExcluir"})
            QVERIFY2(!T.Habilitado(Nome), Nome);
        QVERIFY(T.Habilitado("BitBtnRetornar"));
    }

    // Habilitar over kinds of control no screen of the module puts on its pages yet: a panel stays usable
    // while what it holds follows, a group box greys its caption; grids and tab sets stay usable.
    void HabilitarPorTipo()
    {
        TTelaTeste T;
        auto* F = new TFormPadraoCfgEstab;
        T.Form = F;
        F->FormCreate();
        auto* Painel = new TPanel(F->TabSheet1);
        auto* NoPainel = new TEdit(new TGroupBox(Painel));
        const std::vector<QWidget*> Ligados = {new TStringGrid(F->TabSheet1), new TTabSet(F->TabSheet1), Painel,
                                               F->ComboBoxEmpresa, F->Label2, F->BitBtnRetornar};
        for (const bool Habilita : {false, true}) {
            F->Habilitar(Habilita, F->PageControlEstab);
            for (QWidget* W : Ligados)
                QVERIFY2(W->isEnabled(), W->metaObject()->className());
            QVERIFY(NoPainel->isEnabled() == Habilita && F->RBGrupo->isEnabled() == Habilita);
            QCOMPARE(F->GroupBoxEmpresa->palette().color(QPalette::WindowText),
                     Habilita ? QColor(Qt::black) : CorTextoCinza());
        }
    }

    // Group mode, which no screen of the module allows yet: the host's last mode "0" lists the groups, an
    // unknown group brings message 743, and Return closes the group database.
    void ModoGrupo()
    {
        TTelaTeste T;
        T.Empresas({{"00000123", ""}});
        std::string Erro;
        std::filesystem::create_directories(T.Raiz.Raiz / "config" / "prods");
        QVERIFY2(CriaBancoGruposDemo((T.Raiz.Raiz / "config" / "prods" / "prods.db").string(), Erro), Erro.c_str());
        T.Respostas[507] = "0";
        T.Respostas[506] = "000002";
        T.Cria();
        DefineFormUsaGrupos(true);
        T.Mostra();
        QVERIFY(T.Controle("GroupBoxEmpresa")->isVisible());
        QCOMPARE(T.Itens(), (std::vector<std::string>{"000001", "000002"}));
        QCOMPARE(T.Texto("ComboBoxEmpresa"), std::string("000002"));
        T.Tecla(Qt::Key_F4);
        T.Digita("000009");
        QCOMPARE(T.Dialogos(), "Configurador Mirabelo.: " + QStringDeCp1252(LeMensagens(743)) + " (0x10)");
        T.Clica("BitBtnRetornar");
        QVERIFY(!PodeUsarBanco);
    }

    // Return: with changes the question of message 123, whose real box shows "Sim" and "Não", and No
    // keeps the screen open; Yes closes it and the host hears 0 last.
    void Retorna()
    {
        TTelaTeste T;
        T.Empresas(TresEmpresas);
        T.Abre();
        T.Escreve("EditCodigoEstab", "7");
        KovanSetMessageBoxHandler(nullptr, nullptr);
        QStringList Botoes;
        QString Pergunta;
        // Late enough for the posted relabel message to have been handled by the box's loop.
        QTimer::singleShot(200, [&] {
            if (auto* Caixa = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                Pergunta = Caixa->text();
                for (QAbstractButton* B : Caixa->buttons())
                    Botoes << B->text();
                Caixa->button(QMessageBox::No)->click();
            }
        });
        QTimer::singleShot(5000, [] {
            if (QWidget* Caixa = QApplication::activeModalWidget())
                Caixa->close();
        });
        T.Clica("BitBtnRetornar");
        Botoes.sort();
        QCOMPARE(Botoes, (QStringList{"Não", "Sim"}));
        QCOMPARE(Pergunta, QStringDeCp1252(LeMensagens(123)));
        QVERIFY(T.Form->isVisible() && T.Codigos().back() != 0);

        T.AtendeCaixas();
        T.RespostasCaixa = {IDYES};
        T.Clica("BitBtnRetornar");
        QVERIFY(!T.Form || !T.Form->isVisible());
        QCOMPARE(T.Codigos().back(), 0);
    }
};

QTEST_MAIN(PadraoCfgEstabTeste)
#include "uFormPadraoCfgEstab_test.moc"
