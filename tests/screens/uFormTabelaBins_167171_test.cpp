// "Tabela Bins" and its base screen: the overlap test and the byte-key sort on their own, then the
// screen driven as a person does, down to the general file's bytes and the audit lines.
#include "TelaTeste.h"
#include "runtime/Grids.h"
#include "screens/uFormPadraoCfgBins_B.h"

#include <QClipboard>
#include <QMenu>
#include <algorithm>
#include <fstream>
#include <sys/stat.h>
#include <thread>

namespace {

const char* const Classe = "TFormTabelaBins_167171";

struct TTela : TTelaTeste {
    using TTelaTeste::TTelaTeste;
    std::filesystem::path Arquivo() const { return Raiz.Raiz / "config" / "Mirabelo.ini"; }
    std::string Geral() const { return TRaizTeste::Le(Arquivo()); }
    void Abre(const std::string& Conteudo = {})
    {
        if (!Conteudo.empty())
            TRaizTeste::Grava(Arquivo(), Conteudo);
        TTelaTeste::Abre(Classe);
    }
    TStringGrid* Grade(const char* Nome = "Grade_Deb") { return Controle<TStringGrid>(Nome); }
    std::vector<std::string> Coluna(int C, const char* Nome = "Grade_Deb")
    {
        std::vector<std::string> Celulas;
        for (int L = 1; L < Grade(Nome)->RowCount(); ++L)
            Celulas.push_back(Grade(Nome)->Cells(C, L));
        return Celulas;
    }
    // A click (or double click) where a person sees the row.
    void ClicaLinha(int Linha, bool Duplo = false, const char* Nome = "Grade_Deb")
    {
        TStringGrid* G = Grade(Nome);
        const QPoint Ponto = G->visualRect(G->model()->index(Linha - 1, 0)).center();
        QTest::mouseEvent(Duplo ? QTest::MouseDClick : QTest::MouseClick, G->viewport(), Qt::LeftButton, {}, Ponto);
        QCoreApplication::processEvents();
    }
    void AdicionaBin(const char* Bin)
    {
        Escreve("EditBins", Bin);
        Clica("BitBtnIncluirBins");
    }
    void Exclui(int Linha, const char* Botao = "Btn_exc_deb", const char* Nome = "Grade_Deb")
    {
        RespostasCaixa = {IDYES};
        ClicaLinha(Linha, false, Nome);
        Clica(Botao);
    }
};

} // namespace

class TabelaBinsTeste : public QObject {
    Q_OBJECT

private slots:
    // Keys are byte strings (60123456 before 601235), cells trimmed, repeats kept, and every column moves.
    void OrdenaPorBytes()
    {
        const QStringList Entradas = {"601235", " 60123456-60123499", "4000000 ", "9", "7", "1", "7", "8", "3", "1", "2"};
        TStringGrid Grade;
        Grade.SetColCount(2);
        Grade.SetRowCount(static_cast<int>(Entradas.size()) + 2);
        std::vector<std::string> Esperado;
        for (int I = 0; I < Entradas.size(); ++I) {
            Grade.SetCells(0, I + 1, Entradas[I].toStdString());
            Grade.SetCells(1, I + 1, Esperado.emplace_back(Entradas[I].trimmed().toStdString()));
        }
        QuickSortStringGrid(Grade, {0, 7}, 1, static_cast<int>(Entradas.size()));
        std::sort(Esperado.begin(), Esperado.end());
        for (int I = 0; I < Entradas.size(); ++I) // both cells of a row hold the same text
            QCOMPARE(SomaColunas(Grade, {0, 1}, I + 1), Esperado[I] + Esperado[I]);
        QCOMPARE(Grade.Cells(0, Grade.RowCount() - 1), std::string());
    }

    // A new debit row composed, confirmed and saved in the general file under "Todas"; the audit byte for byte.
    void IncluiConfirmaEGravaNoArquivoGeral()
    {
        TTela T;
        T.Empresas({{"00000123", ""}});
        TRaizTeste::Grava(T.Raiz.IniEmpresa("00000123"), "[TabBins]\r\nTotDeb=1\r\n[Debito_01]\r\nNome=DA EMPRESA\r\n");
        T.Abre();
        QCOMPARE(T.Itens(), (std::vector<std::string>{"Todas", "00000123"}));
        T.ClicaLinha(1, true); // the blank row: a new one
        QCOMPARE(T.Controle<TLabel>("Lbl_Titulo")->Caption(), Cp("Débito/Incluir"));
        QVERIFY(!T.Habilitado("BitBtnExcluir") && !T.Habilitado("ComboBoxEmpresa"));
        T.Escreve("EditNome", "CARTAO");
        for (const char* Bin : {"601234", "4000000", "60123456-60123499"}) // the last one overlaps, refused
            T.AdicionaBin(Bin);
        T.Marca("Ck_senha");
        T.Clica("BitBtnSalvar");
        QVERIFY(!std::filesystem::exists(T.Arquivo())); // confirming writes nothing
        T.Clica("BitBtnSalvar");
        QCOMPARE(T.Geral(), std::string("[debito_01]\r\nnome=CARTAO\r\nbins=4000000;601234;\r\nsenha=1\r\n"
                                        "[tabbins]\r\ntotdeb=1\r\ntotcomb=0\r\n"));
        QCOMPARE(T.Auditoria(), (std::vector<std::string>{
                                    "Mirabelo/Range/Geral - Debito\r\nBins : Lin1(CARTAO/4000000;601234;/Senha:1); ",
                                    Cp("Mirabelo/Range/Geral - Combustível\r\nBins : ")}));
        QCOMPARE(T.CamposAuditoria(), (std::vector<std::string>(2, "Todas|Tabela Bins")));
        QVERIFY(!T.Habilitado("BitBtnSalvar") && T.Habilitado("BitBtnExcluir"));

        // "Todas" typed in any letter case; a company's own file; a partial code loads nothing, without a word.
        T.Clica("ComboBoxEmpresa");
        T.Tecla(Qt::Key_Delete);
        T.Digita("tOdAs");
        QCOMPARE(T.Trocas.back(), (TTroca{300, "tOdAs"}));
        T.Tecla(Qt::Key_Delete);
        T.Digita("0000");
        QCOMPARE(T.Grade()->RowCount(), 2);
        T.Digita("0123");
        QCOMPARE(T.Coluna(0), (std::vector<std::string>{"DA EMPRESA", ""}));
        QCOMPARE(T.Caixas.size(), std::size_t(1)); // the overlap refused above, nothing since
    }

    // The typing rules of a BIN ("\b" a Backspace); entries and rows refused, each with its message, the
    // panel keeping its state.
    void DigitacaoERecusasDoPainel()
    {
        TTela T;
        T.Abre("[TabBins]\r\nTotDeb=1\r\n[Debito_01]\r\nNome=CARTAO X\r\nBins=601234;\r\nSenha=0\r\n");
        T.Clica("Btn_inc_deb");
        T.Clica("BitBtnSalvar"); // nothing changed yet: disabled
        QVERIFY(T.Caixas.empty());
        const std::pair<const char*, std::string> Casos[] = {
            {"6012345678", "601234567-8"},       // the tenth digit opens the range
            {"601234-6012345", "601234-601234"}, // the upper bound never longer
            {"601234--6", "601234-6"},           // a second dash
            {"60a1 2.3x4", "601234"},            // letters and blanks
            {"601234567-", "601234567--"},       // a dash as the tenth key goes in whole
            {"601234567\b", "60123456"}};
        for (const auto& [Teclas, Texto] : Casos) {
            T.Apaga("EditBins");
            T.Digita(Teclas);
            auto* Edit = T.Controle<TEdit>("EditBins");
            QCOMPARE(Edit->Text(), Texto);
            QVERIFY(Edit->SelStart() == static_cast<int>(Texto.size()) && !Edit->hasSelectedText());
        }
        T.Apaga("EditBins");
        for (const char* Bin : {"12345", "601234-601230", "601234567", "601234"})
            T.AdicionaBin(Bin);
        QCOMPARE(T.Caixas.size(), std::size_t(3));
        QCOMPARE(T.Caixas[0].Texto, Cp("Tamanho inválido do bin. No mínimo 6 e no máximo 9 dígitos"));
        QCOMPARE(T.Caixas[1].Texto, Cp("Tamanho inválido: Bin superior menor que Bin inferior"));
        QCOMPARE(T.Caixas[2].Texto, Cp("Bin(s) já existente(s)"));
        QCOMPARE(T.Texto("EditBins"), std::string("601234")); // kept for correcting
        T.Apaga("EditBins");

        T.Clica("BitBtnSalvar");
        QCOMPARE(T.UltimaCaixa(), std::string("Digite um Nome para o(s) Bin(s)."));
        T.Escreve("EditNome", "cartao x ");
        T.Clica("BitBtnSalvar");
        QCOMPARE(T.UltimaCaixa(), Cp("Nome já existente."));
        QCOMPARE(T.Texto("EditNome"), std::string());
        T.Escreve("EditNome", "OUTRO");
        // Taking the only entry out leaves the row without BINs.
        T.Exclui(1, "BitBtnExcluirBins", "GridBins");
        QCOMPARE(T.UltimaCaixa(), std::string("Deseja excluir [601234567] da lista ?"));
        T.Clica("BitBtnSalvar");
        QCOMPARE(T.UltimaCaixa(), std::string("Digite um Bin!"));
        QVERIFY(T.Controle("GridBins")->isVisible());

        // 25 entries of 9 digits fill 250 characters; a 26th would pass 255.
        for (int I = 0; I < 26; ++I)
            T.AdicionaBin(std::to_string(100000000 + I * 1000).c_str());
        QVERIFY(T.UltimaCaixa().find("255") != std::string::npos);
        T.Clica("BitBtnSalvar");
        QCOMPARE(T.Grade()->Cells(1, 2).size(), std::size_t(250));
        QCOMPARE(T.Grade()->columnWidth(1), 1500); // six pixels a character of the longest list
    }

    // A stored table longer than the grid: the stale sections go, the file's other settings stay.
    void GravaSobreTabelaMaisLongaEExclui()
    {
        TTela T;
        const std::string Geral = "[Geral]\r\nCodigoEstabelecimento=123\r\n[TrnHabilitada]\r\nDebitoVista=1\r\n";
        std::string Arquivo = "[TabBins]\r\nTotDeb=5\r\nTotComb=3\r\n";
        for (int I = 1; I <= 5; ++I)
            Arquivo += "[Debito_0" + std::to_string(I) + "]\r\nNome=C" + std::to_string(I) + "\r\nBins=60000" +
                       std::to_string(I) + ";\r\nSenha=" + (I == 1 ? "S" : "1") + "\r\n";
        for (int I = 0; I <= 3; ++I)
            Arquivo += "[Combustivel_0" + std::to_string(I) + "]\r\nNome=F\r\nBins=700000;\r\nSenha=0\r\n";
        T.Abre(Geral + Arquivo);
        for (int I = 0; I < 3; ++I)
            T.Exclui(3);
        QCOMPARE(T.Caixas.front().Texto, std::string("Deseja excluir [C3] da Tabela ?"));
        T.ClicaAba("TabSet", 1);
        for (int I = 0; I < 3; ++I)
            T.Exclui(1, "Btn_exc_comb", "Grade_Comb");
        T.Clica("BitBtnSalvar"); // "Senha=S" is not a set flag
        QCOMPARE(T.Geral(), Geral + "[TabBins]\r\nTotDeb=2\r\nTotComb=0\r\n[Debito_01]\r\nNome=C1\r\nBins=600001;\r\n"
                                    "Senha=0\r\n[debito_02]\r\nnome=C2\r\nbins=600002;\r\nsenha=1\r\n");

        T.Clica("BitBtnExcluir");
        QCOMPARE(T.UltimaCaixa(), std::string("Deseja excluir a Tabela de Bins ?"));
        QCOMPARE(T.Grade()->RowCount(), 4); // answered No
        T.RespostasCaixa = {IDYES};
        T.Clica("BitBtnExcluir");
        QCOMPARE(T.Grade()->RowCount(), 2);
        QCOMPARE(T.Geral(), Geral);
        const std::vector<std::string> Linhas = T.Auditoria();
        QCOMPARE(std::vector<std::string>(Linhas.end() - 2, Linhas.end()),
                 (std::vector<std::string>{Cp("Mirabelo/Range/Geral - Debito - Opção Exclusão"),
                                           Cp("Mirabelo/Range/Geral - Combustível - Opção Exclusão")}));
    }

    // Altering by a double click: the name fixed, cancel refilling the panel, a return without confirming.
    void AlteraCancelaERetorna()
    {
        TTela T;
        T.Abre("[TabBins]\r\nTotDeb=2\r\n[Debito_01]\r\nNome=A\r\nBins=601234;602000-602999;\r\nSenha=1\r\n"
               "[Debito_02]\r\nNome=B\r\nBins=700000;700001\r\nSenha=0\r\n");
        T.Exclui(2); // an unsaved change in the tables
        T.ClicaLinha(1, true);
        QCOMPARE(T.Controle<TLabel>("Lbl_Titulo")->Caption(), Cp("Débito/Alterar"));
        QVERIFY(!T.Habilitado("EditNome") && T.Marcada("Ck_senha"));
        T.Marca("Ck_senha");
        T.RespostasCaixa = {IDYES};
        T.Clica("BitBtnCancelar");
        QVERIFY(T.Marcada("Ck_senha") && !T.Habilitado("BitBtnSalvar"));
        // Editar puts an entry in the edit for replacing: the BIN typed over it takes its place.
        T.ClicaLinha(2, false, "GridBins");
        T.Clica("BitBtnEditarBins");
        T.Apaga("EditBins");
        T.Digita("601235");
        T.Clica("BitBtnIncluirBins");
        QCOMPARE(T.Coluna(0, "GridBins"), (std::vector<std::string>{"601234", "601235", ""}));
        T.RespostasCaixa = {IDYES};
        T.Clica("BitBtnRetornar");
        QCOMPARE(T.Coluna(1), (std::vector<std::string>{"601234;602000-602999;", ""}));
        QVERIFY(T.Habilitado("BitBtnSalvar") && !T.Habilitado("BitBtnExcluir")); // the deleted row still unsaved

        T.Clica("BitBtnRetornar"); // No: stays
        QCOMPARE(T.UltimaCaixa(), Cp("Deseja sair sem salvar as alterações ?"));
        QVERIFY(T.Form->isVisible());
        T.RespostasCaixa = {IDYES};
        T.Clica("BitBtnCancelar");
        QCOMPARE(T.UltimaCaixa(), Cp("Deseja cancelar as alterações ?"));
        QCOMPARE(T.Coluna(0), (std::vector<std::string>{"A", "B", ""}));
        QVERIFY(!T.Habilitado("BitBtnSalvar") && T.Habilitado("BitBtnExcluir"));
        T.ClicaLinha(2, true); // an entry without its closing ";" is not taken
        QCOMPARE(T.Coluna(0, "GridBins"), (std::vector<std::string>{"700000", ""}));
    }

    // Stored counts that are not a number (an empty table) or pass the rows the file holds (its rows, never
    // millions of blank ones): both reported; the next save writes true counts. Its audit entries reach the
    // log first: with the log a pipe nobody reads yet, the save waits with the file as it was.
    void TotaisInvalidosEAuditoriaAntesDoArquivo()
    {
        TTela T;
        const std::string Antes = "[TabBins]\r\nTotDeb=abc\r\nTotComb=2000000000\r\n[Debito_01]\r\nNome=A\r\n"
                                  "Bins=601234;\r\nSenha=1\r\n[Combustivel_01]\r\nNome=F\r\nBins=700000;\r\nSenha=0\r\n"
                                  "[Combustivel_03]\r\nNome=G\r\n";
        T.Abre(Antes);
        QCOMPARE(T.Caixas.size(), std::size_t(2));
        QVERIFY(T.Caixas[0].Texto.find("TotDeb=abc") != std::string::npos);
        QVERIFY(T.Caixas[1].Texto.find("TotComb=2000000000") != std::string::npos);
        T.Clica("Btn_inc_deb");
        T.Escreve("EditNome", "B");
        T.AdicionaBin("700000"); // the fuel row's BIN: a debit row may hold it too
        T.Clica("BitBtnSalvar");
        const std::filesystem::path Log = T.Raiz.Pasta / "auditoria.jsonl";
        std::filesystem::remove(Log);
        QCOMPARE(mkfifo(Log.c_str(), 0600), 0);
        bool Intacto = false;
        std::string Lido;
        std::thread Leitor([&] {
            std::this_thread::sleep_for(std::chrono::milliseconds(300)); // the save waits on the log by now
            Intacto = T.Geral() == Antes;
            // Each entry opens the log anew: one reading may see one entry or both.
            while (std::count(Lido.begin(), Lido.end(), '\n') < 2) {
                std::ifstream Pipe(Log, std::ios::binary);
                Lido.append(std::istreambuf_iterator<char>(Pipe), {});
            }
        });
        T.Clica("BitBtnSalvar");
        Leitor.join();
        std::filesystem::remove(Log);
        QVERIFY(Intacto);
        QVERIFY(Lido.find("Debito") != std::string::npos && Lido.find("Combust") != std::string::npos);
        QCOMPARE(T.Geral(),
                 std::string("[TabBins]\r\nTotDeb=1\r\nTotComb=3\r\n[Combustivel_01]\r\nNome=F\r\nBins=700000;\r\n"
                             "Senha=0\r\n[debito_01]\r\nnome=B\r\nbins=700000;\r\nsenha=0\r\n[combustivel_02]\r\n"
                             "nome=\r\nbins=\r\nsenha=0\r\n[combustivel_03]\r\nnome=G\r\nbins=\r\nsenha=0\r\n"));
    }

    // Nothing changes a file for a user who may only view (level 2) or in host mode "2", on any path; in
    // mode "8" the company stays fixed through the edit panel and a save.
    void RestricoesEmTodoCaminho_data()
    {
        QTest::addColumn<int>("Nivel");
        QTest::addColumn<QString>("Modo");
        QTest::newRow("nivel-2") << 2 << "0";
        QTest::newRow("modo-2") << 0 << "2";
        QTest::newRow("modo-8") << 0 << "8";
    }
    void RestricoesEmTodoCaminho()
    {
        QFETCH(int, Nivel);
        QFETCH(QString, Modo);
        TTela T(static_cast<std::uint16_t>(Nivel));
        T.Respostas[501] = Modo.toStdString();
        const std::string Arquivo = "[TabBins]\r\nTotDeb=1\r\n[Debito_01]\r\nNome=A\r\nBins=601234;\r\nSenha=1\r\n";
        T.Abre(Arquivo);
        T.ClicaLinha(1, true);
        if (Modo == "8") {
            QVERIFY(!T.Controle("PageControl")->isVisible());
            T.Marca("Ck_senha");
            T.Clica("BitBtnSalvar");
            QVERIFY(!T.Habilitado("ComboBoxEmpresa"));
            T.Clica("BitBtnSalvar");
            QCOMPARE(T.Geral(), std::string("[TabBins]\r\nTotDeb=1\r\ntotcomb=0\r\n[debito_01]\r\nnome=A\r\n"
                                            "bins=601234;\r\nsenha=0\r\n"));
            QVERIFY(!T.Habilitado("ComboBoxEmpresa") && T.Habilitado("BitBtnExcluir"));
            return;
        }
        QVERIFY(T.Controle("PageControl")->isVisible()); // no panel
        for (const char* Botao : {"Btn_inc_deb", "Btn_alt_deb", "Btn_exc_deb", "BitBtnSalvar", "BitBtnCancelar", "BitBtnExcluir"}) {
            QVERIFY2(!T.Habilitado(Botao), Botao);
            T.RespostasCaixa = {IDYES};
            T.Clica(Botao);
        }
        T.Tecla(Qt::Key_E, Qt::AltModifier);
        QCOMPARE(T.Grade()->RowCount(), 3);
        QCOMPARE(T.Geral(), Arquivo);
        QVERIFY(T.Auditoria().empty());
        QCOMPARE(T.Dialogos(), QString());
    }

    // The file written is the one whose tables the grids show: with the company box emptied by Delete
    // (no change event), a delete or a save is refused and no file changes. The row deleted is the row the
    // question named, also after a reload, and nothing stays chosen across one.
    void GravaSoOQueEstaNaTela()
    {
        TTela T;
        T.Empresas({{"00000123", ""}, {"00000456", ""}});
        auto Tabela = [](const char* A, const char* B, const char* C) {
            std::string Texto = "[TabBins]\r\nTotDeb=3\r\n";
            int I = 0;
            for (const char* Nome : {A, B, C}) {
                const std::string N = std::to_string(++I);
                Texto += "[Debito_0" + N + "]\r\nNome=" + Nome + "\r\nBins=60000" + N + ";\r\nSenha=0\r\n";
            }
            return Texto;
        };
        const std::string Geral = Tabela("G1", "G2", "G3"), De123 = Tabela("A", "B", "C"), De456 = Tabela("X", "Y", "Z");
        TRaizTeste::Grava(T.Raiz.IniEmpresa("00000123"), De123);
        TRaizTeste::Grava(T.Raiz.IniEmpresa("00000456"), De456);
        T.Abre(Geral);
        auto Escolhe = [&T](const char* Empresa) {
            if (QWidget* Lista = T.Controle<QComboBox>("ComboBoxEmpresa")->view(); Lista->isVisible()) {
                QTest::keyClick(Lista, Qt::Key_Escape); // the list a reload left open
                T.VoltaAJanela();
            }
            T.Clica("ComboBoxEmpresa");
            T.Tecla(Qt::Key_Delete);
            T.Digita(Empresa);
        };
        Escolhe("00000123");
        T.Clica("ComboBoxEmpresa");
        T.Tecla(Qt::Key_Delete);
        T.RespostasCaixa = {IDYES};
        T.Clica("BitBtnExcluir");
        const std::string Selecione = "Selecione a empresa para configurar.";
        QCOMPARE(T.UltimaCaixa(), Selecione);
        T.Exclui(1);
        T.Clica("BitBtnSalvar");
        QCOMPARE(T.UltimaCaixa(), Selecione);
        QVERIFY(T.Geral() == Geral && T.Guardado("00000123") == De123 && T.Auditoria().empty());

        T.RespostasCaixa = {IDYES};
        T.Clica("BitBtnCancelar");
        Escolhe("00000123");
        T.ClicaLinha(3);
        Escolhe("00000456");
        T.Caixas.clear();
        T.RespostasCaixa = {IDYES};
        T.Clica("Btn_exc_deb");
        QCOMPARE(T.Dialogos(), "Configurador Mirabelo.: Selecione o bin corretamente. (0x30)");
        T.Exclui(2);
        QCOMPARE(T.Coluna(0), (std::vector<std::string>{"X", "Z", ""}));
        T.RespostasCaixa = {IDYES};
        T.Clica("BitBtnCancelar");
        T.Caixas.clear();
        T.Clica("Btn_exc_deb");
        QCOMPARE(T.Dialogos(), "Configurador Mirabelo.: Selecione o bin corretamente. (0x30)");
        QCOMPARE(T.Coluna(0), (std::vector<std::string>{"X", "Y", "Z", ""}));
    }

    // After a save the screen is unmodified, and a row opened only to look at it changes nothing.
    void GravadoEstaGravado()
    {
        TTela T;
        T.Abre("[TabBins]\r\nTotDeb=1\r\n[Debito_01]\r\nNome=A\r\nBins=601234;\r\nSenha=1\r\n");
        T.Exclui(1);
        T.Clica("BitBtnSalvar");
        T.Clica("Btn_inc_deb");
        T.Escreve("EditNome", "B");
        T.AdicionaBin("700000");
        T.Clica("BitBtnSalvar");
        T.Clica("BitBtnSalvar");
        QVERIFY(!T.Habilitado("BitBtnSalvar") && T.Habilitado("ComboBoxEmpresa") && T.Habilitado("BitBtnExcluir"));
        T.ClicaLinha(1, true);
        T.Clica("BitBtnRetornar"); // back from the panel: nothing to ask
        QVERIFY(!T.Habilitado("BitBtnSalvar") && T.Habilitado("ComboBoxEmpresa"));
        T.Clica("BitBtnRetornar"); // and the screen closes without asking
        QVERIFY(!T.Form->isVisible());
        QCOMPARE(T.Dialogos(), "Configurador Mirabelo.: Deseja excluir [A] da Tabela ? (0x124)");
    }

    // A stored count beyond a table's rows is judged against that table's row sections alone, whatever
    // else the file holds: the same rows load, with the same message.
    void TotalAlemDasLinhasDaPropriaTabela()
    {
        std::string Linhas = "[TabBins]\r\nTotDeb=5\r\n";
        for (int I = 1; I <= 3; ++I)
            Linhas += "[Debito_0" + std::to_string(I) + "]\r\nNome=C" + std::to_string(I) + "\r\nBins=60000" +
                      std::to_string(I) + ";\r\nSenha=0\r\n";
        const std::string Outras = "[Geral]\r\nCodigoEstabelecimento=1\r\n[TrnHabilitada]\r\nDebitoVista=1\r\n"
                                   "[Combustivel_01]\r\nNome=F\r\n";
        for (const std::string& Arquivo : {Linhas, Outras + Linhas}) {
            TTela T;
            T.Abre(Arquivo);
            QCOMPARE(T.Coluna(0), (std::vector<std::string>{"C1", "C2", "C3", ""}));
            QCOMPARE(T.Caixas.size(), std::size_t(1));
            QVERIFY(T.UltimaCaixa().find("TotDeb=5") != std::string::npos);
        }
    }

    // The keyboard alone: Tab goes round every control of the view shown; Alt+I opens the panel on the
    // BIN field; Enter adds an entry; a paste (Shift+Insert, or the menu's own Paste) is typing; forward
    // Delete, Ctrl+A and Ctrl+Z edit; a name of blanks is no name; no two mnemonics share a letter.
    void SoComTeclado()
    {
        TTela T;
        T.Abre();
        QCOMPARE(T.CadeiaTab(), (QStringList{"Grade_Deb", "TabSet", "BitBtnRetornar", "BitBtnExcluir", "ComboBoxEmpresa"}));
        auto Mnemonicos = [&T] {
            QStringList Letras;
            for (const QAbstractButton* B : T.Form->findChildren<QAbstractButton*>())
                if (B->isVisible() && B->text().contains('&'))
                    Letras << B->text().mid(B->text().indexOf('&') + 1, 1).toLower();
            Letras.sort();
            return Letras;
        };
        QCOMPARE(Mnemonicos(), (QStringList{"a", "c", "e", "i", "r", "s", "x"}));
        T.Tecla(Qt::Key_I, Qt::AltModifier);
        QTRY_VERIFY(!T.Controle("PageControl")->isVisible()); // a mnemonic presses its button as a click does
        QCOMPARE(QApplication::focusWidget(), T.Controle("EditBins"));
        T.Digita("601234");
        T.Tecla(Qt::Key_Return);
        QCOMPARE(T.Coluna(0, "GridBins"), (std::vector<std::string>{"601234", ""}));
        QGuiApplication::clipboard()->setText("6012x4-6012999");
        T.Tecla(Qt::Key_Insert, Qt::ShiftModifier);
        QCOMPARE(T.Texto("EditBins"), std::string("60124-60129"));
        T.Tecla(Qt::Key_Home);
        T.Tecla(Qt::Key_Delete);
        QCOMPARE(T.Texto("EditBins"), std::string("0124-60129"));
        T.Tecla(Qt::Key_A, Qt::ControlModifier);
        T.Digita("\b7");
        QCOMPARE(T.Texto("EditBins"), std::string("7"));
        T.Tecla(Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(T.Texto("EditBins"), std::string("0124-60129"));
        // The menu of a right click: Portuguese, and its Paste types too.
        T.Apaga("EditBins");
        QGuiApplication::clipboard()->setText("7000x01");
        QWidget* Edit = T.Controle("EditBins"); // a right click, as the window system delivers it
        QContextMenuEvent Clique(QContextMenuEvent::Mouse, QPoint(5, 5), Edit->mapToGlobal(QPoint(5, 5)));
        QCoreApplication::sendEvent(Edit, &Clique);
        auto* Menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        QVERIFY(Menu);
        QAction* Colar = nullptr;
        for (QAction* A : Menu->actions())
            if (A->text().remove('&').startsWith("Colar"))
                Colar = A;
        QVERIFY(Colar);
        Colar->trigger();
        Menu->close();
        T.VoltaAJanela();
        QCOMPARE(T.Texto("EditBins"), std::string("700001"));
        T.Tecla(Qt::Key_Return);
        T.Escreve("EditNome", "   ");
        T.Clica("BitBtnSalvar");
        QCOMPARE(T.UltimaCaixa(), std::string("Digite um Nome para o(s) Bin(s)."));
        QCOMPARE(T.CadeiaTab("EditBins"), (QStringList{"BitBtnIncluirBins", "BitBtnEditarBins", "BitBtnExcluirBins",
                                                       "GridBins", "EditNome", "Ck_senha", "BitBtnSalvar",
                                                       "BitBtnCancelar", "BitBtnRetornar", "EditBins"}));
    }
};

QTEST_MAIN(TabelaBinsTeste)
#include "uFormTabelaBins_167171_test.moc"
