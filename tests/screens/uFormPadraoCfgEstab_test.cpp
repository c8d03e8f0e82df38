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
#include <QMessageBox>
#include <QTimer>

namespace {

const std::vector<std::pair<std::string, std::string>> TresEmpresas = {
    {"12340000", "000000000000111"}, {"12350000", ""}, {"99990000", "000000000000333"}};

bool ListaAberta(const TTelaTeste& T)
{
    return T.Controle<QComboBox>("ComboBoxEmpresa")->view()->isVisible();
}

// A screen with the controls Habilitar treats each in its own way, on the base page.
class TFormHabilitar : public TFormPadraoCfgEstab {
public:
    TFormHabilitar()
    {
        Grade = new TStringGrid(TabSheet1);
        Abas = new TTabSet(TabSheet1);
        Outra = new TComboBox(TabSheet1);
        Outra->SetName("ComboBoxOutra");
        Painel = new TPanel(TabSheet1);
        NoPainel = new TEdit(Painel);
        GrupoNoPainel = new TGroupBox(Painel);
        NoGrupoDoPainel = new TCheckBox(GrupoNoPainel);
        Grupo = new TGroupBox(TabSheet1);
        PainelNoGrupo = new TPanel(Grupo);
        ComboNoGrupo = new TComboBox(Grupo);
        Paginas = new TPageControl(TabSheet1);
        Pagina = new TTabSheet(Paginas);
        NaPagina = new TEdit(Pagina);
    }
    void DefineModo(const std::string& Modo) { ModoHost = Modo; }

    TStringGrid* Grade;
    TTabSet* Abas;
    TComboBox* Outra;
    TPanel* Painel;
    TEdit* NoPainel;
    TGroupBox* GrupoNoPainel;
    TCheckBox* NoGrupoDoPainel;
    TGroupBox* Grupo;
    TPanel* PainelNoGrupo;
    TComboBox* ComboNoGrupo;
    TPageControl* Paginas;
    TTabSheet* Pagina;
    TEdit* NaPagina;
};

} // namespace

class PadraoCfgEstabTeste : public QObject {
    Q_OBJECT

private slots:
    // Showing: the host's mode, company and selection mode are asked in the order of the exchange
    // table; the company the host has selected is shown when it exists, else the first listed (in the
    // order the directory gives, hence "" below).
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
        T.Cria();
        T.Mostra();
        const std::string Codigo = Mostrada.isEmpty() ? T.Itens().front() : Mostrada.toStdString();
        QCOMPARE(T.Texto("ComboBoxEmpresa"), Codigo);
        QCOMPARE(T.Itens().size(), 3u);
        const std::vector<int> Esperados = {501, 301, 509, 510, 507, 301, 1, 509, 508, 300};
        std::vector<int> Recebidos = T.Codigos();
        Recebidos.resize(std::min<std::size_t>(Recebidos.size(), 10));
        QCOMPARE(Recebidos, Esperados);
        QCOMPARE(T.Trocas[9], (TTroca{300, Codigo}));
        QCOMPARE(T.Trocas[8], (TTroca{508, "1"}));
        QVERIFY(T.Controle<QTabWidget>("PageControlEstab")->findChild<QTabBar*>()->isHidden());
        QVERIFY(!T.Controle("GroupBoxEmpresa")->isVisible());
        QCOMPARE(QApplication::focusWidget(), T.Controle("ComboBoxEmpresa"));
        QCOMPARE(T.Trocas.back(), (TTroca{100, "Selecione a empresa para configurar."}));
        QVERIFY(T.Caixas.empty());
    }

    // Typing filters the list (letter case ignored) and keeps it open; a complete code closes it.
    void FiltraEnquantoDigita()
    {
        TTelaTeste T;
        T.Empresas(TresEmpresas);
        T.Cria();
        T.Mostra();
        T.Tecla(Qt::Key_F4);
        QCOMPARE(T.Texto("ComboBoxEmpresa"), std::string());
        T.Digita("123");
        std::vector<std::string> Filtradas = T.Itens();
        std::sort(Filtradas.begin(), Filtradas.end());
        QCOMPARE(Filtradas, (std::vector<std::string>{"12340000", "12350000"}));
        QVERIFY(ListaAberta(T));
        QVERIFY(!T.Habilitado("EditCodigoEstab"));
        QVERIFY(!T.Habilitado("BitBtnExcluir"));
        QVERIFY(T.Habilitado("BitBtnRetornar"));
        QVERIFY(T.Habilitado("Label2"));
        T.Digita("4");
        QCOMPARE(T.Itens(), (std::vector<std::string>{"12340000"}));
        QCOMPARE(T.Texto("ComboBoxEmpresa"), std::string("1234"));
        // A company added or removed between two keys shows at the next key.
        T.Raiz.CriaEmpresa("12360000");
        T.Tecla(Qt::Key_Backspace);
        QCOMPARE(T.Itens().size(), 3u);
        std::filesystem::remove(T.Raiz.Raiz / "config" / "12340000.cnf");
        for (int I = 0; I < 3; ++I)
            T.Tecla(Qt::Key_Backspace);
        const std::vector<std::string> Todas = T.Itens();
        QCOMPARE(Todas.size(), 3u);
        QVERIFY(std::count(Todas.begin(), Todas.end(), "12360000") == 1);
        T.Digita("1235");
        QCOMPARE(T.Itens(), (std::vector<std::string>{"12350000"}));
        const std::size_t Antes = T.Trocas.size();
        T.Digita("0000");
        QVERIFY(!ListaAberta(T));
        QCOMPARE(T.Texto("ComboBoxEmpresa"), std::string("12350000"));
        QCOMPARE(T.Itens().size(), 3u);
        QVERIFY(T.Habilitado("EditCodigoEstab"));
        const std::vector<int> Escolha = {509, 508, 300};
        QCOMPARE(T.Codigos(Antes), Escolha);
        QVERIFY(T.Caixas.empty());
    }

    // A complete code that names no company: message 178, then the host's company, else the box's
    // first entry, else nothing when typing had filtered the box down to no entry.
    void CodigoDesconhecido_data()
    {
        QTest::addColumn<QString>("Host");
        QTest::addColumn<QString>("Digitado");
        QTest::addColumn<QString>("Mostrada");
        QTest::newRow("volta-a-do-host") << "99990000" << "12340001" << "99990000";
        QTest::newRow("primeira-da-lista") << "55555555" << "12350001" << "12350000";
        QTest::newRow("lista-vazia") << "55555555" << "77777777" << "";
        QTest::newRow("todas-sem-oferta") << "99990000" << "tOdAs" << "99990000";
    }
    void CodigoDesconhecido()
    {
        QFETCH(QString, Host);
        QFETCH(QString, Digitado);
        QFETCH(QString, Mostrada);
        TTelaTeste T;
        T.Empresas(TresEmpresas);
        T.Cria();
        T.Mostra();
        T.Respostas[301] = Host.toStdString();
        T.Tecla(Qt::Key_F4);
        T.Digita(Digitado.toLatin1().constData());
        QCOMPARE(T.Caixas.size(), 1u);
        QCOMPARE(T.Caixas[0].Texto, LeMensagens(178));
        QCOMPARE(T.Caixas[0].Titulo, std::string("Configurador Mirabelo."));
        QCOMPARE(T.Caixas[0].Flags, MB_OK | MB_ICONERROR);
        QCOMPARE(T.Texto("ComboBoxEmpresa"), Mostrada.toStdString());
        QCOMPARE(T.Habilitado("EditCodigoEstab"), !Mostrada.isEmpty());
    }

    // A screen that offers the all-companies entry accepts it in any letter case.
    void TodasOferecidaEmQualquerCaixa()
    {
        class TFormComTodas : public TFormPadraoCfgEstab {
        public:
            void FormShow() override
            {
                TFormPadraoCfgEstab::FormShow();
                ComboBoxEmpresa->SetItems([this] {
                    std::vector<std::string> Itens = ComboBoxEmpresa->Items();
                    Itens.insert(Itens.begin(), "Todas");
                    return Itens;
                }());
                ComboBoxEmpresaChange();
            }
        };
        TTelaTeste T;
        T.Empresas(TresEmpresas);
        auto* F = new TFormComTodas;
        T.Form = F;
        F->FormCreate();
        T.Mostra();
        QCOMPARE(vEmpTODAS(), 1);
        T.Tecla(Qt::Key_F4);
        T.Digita("tOdAs");
        QVERIFY(T.Caixas.empty());
        QCOMPARE(T.Trocas.back(), (TTroca{300, "tOdAs"}));
        QCOMPARE(T.Itens().front(), std::string("Todas"));
        QCOMPARE(T.Itens().size(), 4u);
    }

    // Keys: only letters and digits; F4 empties the box and opens the list it holds (still filtered);
    // Ctrl+V empties it; a fixed company or a single-company server takes no key.
    void TeclasNaCaixa()
    {
        TTelaTeste T;
        T.Empresas(TresEmpresas);
        T.Cria();
        T.Mostra();
        T.Tecla(Qt::Key_F4);
        T.Digita("12- 3");
        QCOMPARE(T.Texto("ComboBoxEmpresa"), std::string("123"));
        T.Tecla(Qt::Key_F4);
        QCOMPARE(T.Texto("ComboBoxEmpresa"), std::string());
        QVERIFY(ListaAberta(T));
        QCOMPARE(T.Itens().size(), 2u);
        T.Digita("9");
        T.Tecla(Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(T.Texto("ComboBoxEmpresa"), std::string());
    }
    void CaixaSemTeclas_data()
    {
        QTest::addColumn<bool>("Multi");
        QTest::addColumn<QString>("Modo");
        QTest::newRow("uma-empresa") << false << "0";
        QTest::newRow("empresa-fixa") << true << "8";
    }
    void CaixaSemTeclas()
    {
        QFETCH(bool, Multi);
        QFETCH(QString, Modo);
        TTelaTeste T;
        if (Multi)
            T.Empresas(TresEmpresas);
        T.Raiz.CriaEmpresa("00000000");
        T.Respostas[501] = Modo.toStdString();
        T.Cria();
        T.Mostra();
        const std::string Antes = T.Texto("ComboBoxEmpresa");
        if (!Multi)
            QCOMPARE(T.Itens(), (std::vector<std::string>{"00000000"}));
        QCOMPARE(T.Habilitado("ComboBoxEmpresa"), Multi == false);
        T.Controle("ComboBoxEmpresa")->setFocus();
        QTest::keyClicks(T.Controle("ComboBoxEmpresa"), "1");
        QCOMPARE(T.Texto("ComboBoxEmpresa"), Antes);
        QVERIFY(T.Caixas.empty());
    }

    // Leaving the box: a complete code that names nothing is cleared silently; 8 characters holding
    // blanks bring message 179 and are cleared; a listed company stays.
    void SaiDaCaixa_data()
    {
        QTest::addColumn<QString>("Texto");
        QTest::addColumn<bool>("RemoveArquivo");
        QTest::addColumn<QString>("Fica");
        QTest::addColumn<int>("Avisos");
        QTest::newRow("listada") << "12340000" << false << "12340000" << 0;
        QTest::newRow("arquivo-sumiu") << "12340000" << true << "" << 0;
        QTest::newRow("com-brancos") << "1234000 " << false << "" << 1;
        QTest::newRow("curta") << "123" << false << "123" << 0;
    }
    void SaiDaCaixa()
    {
        QFETCH(QString, Texto);
        QFETCH(bool, RemoveArquivo);
        QFETCH(QString, Fica);
        QFETCH(int, Avisos);
        TTelaTeste T;
        T.Empresas(TresEmpresas);
        T.Cria();
        T.Mostra();
        if (RemoveArquivo)
            std::filesystem::remove(T.Raiz.Raiz / "config" / "12340000.cnf");
        T.Controle<TComboBox>("ComboBoxEmpresa")->SetText(Texto.toStdString());
        T.Tecla(Qt::Key_Tab);
        QCOMPARE(T.Texto("ComboBoxEmpresa"), Fica.toStdString());
        QCOMPARE(static_cast<int>(T.Caixas.size()), Avisos);
        if (Avisos) {
            QCOMPARE(T.Caixas[0].Texto, LeMensagens(179));
            QCOMPARE(T.Caixas[0].Flags, MB_OK | MB_ICONWARNING);
        }
    }

    // Host mode "2": only Return stays usable, also after another company is picked from the list.
    void SoVisualizacao()
    {
        TTelaTeste T;
        T.Empresas(TresEmpresas);
        T.Respostas[501] = "2";
        T.Cria();
        T.Mostra();
        for (const char* Nome : {"EditCodigoEstab", "BitBtnSalvar", "BitBtnCancelar", "BitBtnExcluir"})
            QVERIFY2(!T.Habilitado(Nome), Nome);
        QVERIFY(T.Habilitado("BitBtnRetornar"));
        auto* Caixa = T.Controle<QComboBox>("ComboBoxEmpresa");
        const std::string Outra = T.Itens()[1];
        Caixa->showPopup();
        QTest::mouseClick(Caixa->view()->viewport(), Qt::LeftButton, {},
                          Caixa->view()->visualRect(Caixa->model()->index(1, 0)).center());
        QCoreApplication::processEvents();
        QCOMPARE(T.Texto("ComboBoxEmpresa"), Outra);
        QCOMPARE(T.Trocas.back(), (TTroca{300, Outra}));
        for (const char* Nome : {"EditCodigoEstab", "BitBtnExcluir"})
            QVERIFY2(!T.Habilitado(Nome), Nome);
    }

    // Habilitar over every kind of control a derived screen puts on its pages.
    void HabilitarPorTipo()
    {
        TTelaTeste T;
        T.Empresas(TresEmpresas);
        auto* F = new TFormHabilitar;
        T.Form = F;
        F->FormCreate();
        F->Habilitar(false, F->PageControlEstab);
        for (QWidget* W : std::initializer_list<QWidget*>{F->Grade, F->Abas, F->Painel, F->Grupo, F->GrupoNoPainel,
                                                          F->ComboBoxEmpresa, F->Label2, F->BitBtnRetornar})
            QVERIFY2(W->isEnabled(), qPrintable(W->metaObject()->className()));
        for (QWidget* W : std::initializer_list<QWidget*>{F->Outra, F->NoPainel, F->NoGrupoDoPainel, F->PainelNoGrupo,
                                                          F->ComboNoGrupo, F->NaPagina, F->BitBtnSalvar})
            QVERIFY2(!W->isEnabled(), qPrintable(W->metaObject()->className()));
        QCOMPARE(F->Grupo->palette().color(QPalette::WindowText), CorTextoCinza());
        F->Habilitar(true, F->PageControlEstab);
        QVERIFY(F->NoGrupoDoPainel->isEnabled() && F->NaPagina->isEnabled() && F->Outra->isEnabled());
        QCOMPARE(F->Grupo->palette().color(QPalette::WindowText), QColor(Qt::black));
        F->DefineModo("2");
        F->Habilitar(true, F->PageControlEstab);
        QVERIFY(!F->NaPagina->isEnabled() && F->BitBtnRetornar->isEnabled());
    }

    // Group mode, reached only when a screen allows groups: the host's last mode "0" lists the groups;
    // an unknown group brings message 743; the radio buttons switch the list.
    void ModoGrupo()
    {
        TTelaTeste T;
        T.Empresas({{"00000123", ""}, {"00000456", ""}});
        std::string Erro;
        std::filesystem::create_directories(T.Raiz.Raiz / "config" / "prods");
        QVERIFY2(CriaBancoGruposDemo((T.Raiz.Raiz / "config" / "prods" / "prods.db").string(), Erro), Erro.c_str());
        T.Respostas[507] = "0";
        T.Respostas[506] = "000002";
        T.Cria();
        DefineFormUsaGrupos(true);
        T.Mostra();
        QVERIFY(T.Controle("GroupBoxEmpresa")->isVisible());
        QVERIFY(T.Controle<QRadioButton>("RBGrupo")->isChecked());
        QCOMPARE(T.Itens(), (std::vector<std::string>{"000001", "000002"}));
        QCOMPARE(T.Codigos()[5], 506);
        QCOMPARE(T.Texto("ComboBoxEmpresa"), std::string("000002"));
        T.Tecla(Qt::Key_F4);
        T.Digita("000009");
        QCOMPARE(T.Caixas.size(), 1u);
        QCOMPARE(T.Caixas[0].Texto, LeMensagens(743));
        QCOMPARE(T.Texto("ComboBoxEmpresa"), std::string("000001"));
        QCOMPARE(T.Trocas.back(), (TTroca{505, "000001"}));
        T.Clica("RBEmpresa");
        QCOMPARE(T.Itens(), (std::vector<std::string>{"00000123", "00000456"}));
        QCOMPARE(T.Texto("ComboBoxEmpresa"), std::string("00000123"));
        QCOMPARE(Selecao(), std::string("1"));
        T.Clica("BitBtnRetornar");
        QVERIFY(!PodeUsarBanco);
    }

    // Return: at once without changes; with changes the question of message 123, whose real box shows
    // "Sim" and "Não"; No keeps the screen open.
    void Retorna()
    {
        TTelaTeste T;
        T.Empresas(TresEmpresas);
        T.Cria();
        T.Mostra();
        T.Clica("EditCodigoEstab");
        T.Digita("7");
        KovanSetMessageBoxHandler(nullptr, nullptr);
        QStringList Botoes;
        QString Pergunta;
        // Late enough for the posted relabel message to have been handled by the box's loop.
        QTimer::singleShot(200, [&] {
            auto* Caixa = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!Caixa)
                return;
            Pergunta = Caixa->text();
            for (QAbstractButton* B : Caixa->buttons())
                Botoes << B->text();
            Caixa->button(QMessageBox::No)->click();
        });
        QTimer::singleShot(5000, [] {
            if (QWidget* Caixa = QApplication::activeModalWidget())
                Caixa->close();
        });
        T.Clica("BitBtnRetornar");
        Botoes.sort();
        QCOMPARE(Botoes, (QStringList{"Não", "Sim"}));
        QCOMPARE(Pergunta, QStringDeCp1252(LeMensagens(123)));
        QVERIFY(T.Form->isVisible());
        QVERIFY(T.Codigos().back() != 0);

        T.AtendeCaixas();
        T.RespostasCaixa = {IDYES};
        T.Clica("BitBtnRetornar");
        QVERIFY(!T.Form || !T.Form->isVisible());
        QCOMPARE(T.Codigos().back(), 0);
    }
};

QTEST_MAIN(PadraoCfgEstabTeste)
#include "uFormPadraoCfgEstab_test.moc"
