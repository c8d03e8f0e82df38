// "Tabela Bins" and its base screen: the overlap test and the byte-key sort on their own, then the
// screen driven as a person does: BINs typed key by key, rows composed and confirmed, double clicks on
// table rows, both views, saves over longer stored tables, cancel, return and delete.
#include "TelaTeste.h"
#include "config/Kovan_INI.h"
#include "runtime/ComCtrls.h"
#include "runtime/Grids.h"
#include "runtime/StdCtrls.h"
#include "screens/uFormPadraoCfgBins_B.h"

#include <algorithm>
#include <fstream>
#include <sys/stat.h>
#include <thread>

namespace {

const char* const Classe = "TFormTabelaBins_167171";

std::filesystem::path ArquivoGeral(const TTelaTeste& T)
{
    return T.Raiz.Raiz / "config" / "Mirabelo.ini";
}

std::string Le(const TTelaTeste& T, const std::string& Secao, const std::string& Chave)
{
    return TKovanIni(T.Raiz.RaizTexto(), "Mirabelo", "").LeVar(Secao, Chave, "<nada>");
}

// Types one entry into EditBins and adds it with the button beside it.
void AdicionaBin(TTelaTeste& T, const char* Bin)
{
    T.Escreve("EditBins", Bin);
    T.Clica("BitBtnIncluirBins");
}

struct TTela : TTelaTeste {
    using TTelaTeste::TTelaTeste;
    void Abre(const std::string& Arquivo = {})
    {
        if (!Arquivo.empty())
            TRaizTeste::Grava(ArquivoGeral(*this), Arquivo);
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
        if (Duplo)
            QTest::mouseDClick(G->viewport(), Qt::LeftButton, {}, Ponto);
        else
            QTest::mouseClick(G->viewport(), Qt::LeftButton, {}, Ponto);
        QCoreApplication::processEvents();
    }
};

} // namespace

class TabelaBinsTeste : public QObject {
    Q_OBJECT

private slots:
    void ComparaBin_data()
    {
        QTest::addColumn<QString>("A");
        QTest::addColumn<QString>("B");
        QTest::addColumn<bool>("Sobrepoe");
        QTest::newRow("bin dentro de intervalo") << "601234" << "60123456-60123499" << true;
        QTest::newRow("bins vizinhos") << "601234" << "601235" << false;
        QTest::newRow("na ponta superior") << "601234-601240" << "601240" << true;
        QTest::newRow("bin mais longo dentro") << "601234" << "6012340" << true;
        QTest::newRow("intervalo contem o outro") << "600000-609999" << "601000-601001" << true;
        QTest::newRow("intervalos encostados") << "601000-601099" << "601100-601199" << false;
        QTest::newRow("nove digitos iguais") << "601234567" << "601234567" << true;
        QTest::newRow("nove digitos vizinhos") << "601234567" << "601234568" << false;
    }
    void ComparaBin()
    {
        QFETCH(QString, A);
        QFETCH(QString, B);
        QFETCH(bool, Sobrepoe);
        QCOMPARE(::ComparaBin(A.toStdString(), B.toStdString()), Sobrepoe);
        QCOMPARE(::ComparaBin(B.toStdString(), A.toStdString()), Sobrepoe);
    }

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
        for (int I = 0; I < Entradas.size(); ++I) {
            QCOMPARE(SomaColunas(Grade, {0}, I + 1), Esperado[I]);
            QCOMPARE(Grade.Cells(1, I + 1), Esperado[I]);
        }
        QCOMPARE(Grade.Cells(0, Grade.RowCount() - 1), std::string());
    }

    // The typing rules of a BIN, key by key, in the edit panel.
    void Digitacao_data()
    {
        QTest::addColumn<QString>("Teclas");
        QTest::addColumn<QString>("Texto");
        QTest::newRow("decimo digito abre o intervalo") << "6012345678" << "601234567-8";
        QTest::newRow("superior nunca maior") << "601234-6012345" << "601234-601234";
        QTest::newRow("segundo traco") << "601234--6" << "601234-6";
        QTest::newRow("letras e brancos") << "60a1 2.3x4" << "601234";
        QTest::newRow("traco no decimo entra inteiro") << "601234567-" << "601234567--";
        QTest::newRow("apagar com nove") << "601234567\b" << "60123456";
    }
    void Digitacao()
    {
        QFETCH(QString, Teclas);
        QFETCH(QString, Texto);
        TTela T;
        T.Abre();
        T.Clica("Btn_inc_deb");
        T.Clica("EditBins");
        for (QChar C : Teclas) {
            if (C == '\b')
                T.Tecla(Qt::Key_Backspace);
            else
                T.Digita(QString(C).toLatin1().constData());
        }
        auto* Edit = T.Controle<TEdit>("EditBins");
        QCOMPARE(Edit->Text(), Texto.toStdString());
        QCOMPARE(Edit->SelStart(), Texto.size());
        QVERIFY(!Edit->hasSelectedText());
    }

    // A new debit row composed and saved in the general file under "Todas"; the audit lines byte for byte.
    void IncluiConfirmaEGravaNoArquivoGeral()
    {
        TTela T;
        T.Empresas({{"00000123", ""}});
        TRaizTeste::Grava(T.Raiz.IniEmpresa("00000123"), "[TabBins]\r\nTotDeb=1\r\n[Debito_01]\r\nNome=DA EMPRESA\r\n");
        T.Abre();
        QCOMPARE(T.Itens(), (std::vector<std::string>{"Todas", "00000123"}));
        QCOMPARE(T.Texto("ComboBoxEmpresa"), std::string("Todas"));
        QCOMPARE(T.Grade()->RowCount(), 2);

        T.ClicaLinha(1, true); // the blank row: a new one
        QVERIFY(!T.Controle("PageControl")->isVisible() && T.Controle("GridBins")->isVisible());
        QCOMPARE(T.Controle<TLabel>("Lbl_Titulo")->Caption(), Cp("Débito/Incluir"));
        QCOMPARE(T.Controle<TBitBtn>("BitBtnSalvar")->Caption(), std::string("Confirmar"));
        QVERIFY(!T.Habilitado("BitBtnSalvar") && !T.Habilitado("BitBtnExcluir") && !T.Habilitado("ComboBoxEmpresa"));
        T.Escreve("EditNome", "CARTAO");
        AdicionaBin(T, "601234");
        AdicionaBin(T, "4000000");
        AdicionaBin(T, "60123456-60123499");
        QCOMPARE(T.UltimaCaixa(), Cp("Bin(s) já existente(s)"));
        QCOMPARE(T.Texto("EditBins"), std::string("60123456-60123499"));
        QCOMPARE(T.Coluna(0, "GridBins"), (std::vector<std::string>{"4000000", "601234", ""}));
        T.Marca("Ck_senha");
        T.Clica("BitBtnSalvar");
        QVERIFY(T.Controle("PageControl")->isVisible() && !T.Controle("GridBins")->isVisible());
        QCOMPARE(T.Coluna(1), (std::vector<std::string>{"4000000;601234;", ""}));
        QCOMPARE(T.Grade()->Cells(2, 1), std::string("      X"));
        QVERIFY(!std::filesystem::exists(ArquivoGeral(T))); // confirming writes nothing

        T.Clica("BitBtnSalvar");
        QCOMPARE(Le(T, "Debito_01", "Nome"), std::string("CARTAO"));
        QCOMPARE(Le(T, "Debito_01", "Bins"), std::string("4000000;601234;"));
        QCOMPARE(Le(T, "Debito_01", "Senha"), std::string("1"));
        QCOMPARE(Le(T, "TabBins", "TotDeb"), std::string("1"));
        QCOMPARE(Le(T, "TabBins", "TotComb"), std::string("0"));
        QCOMPARE(T.Auditoria(), (std::vector<std::string>{
                                    "Mirabelo/Range/Geral - Debito\r\nBins : Lin1(CARTAO/4000000;601234;/Senha:1); ",
                                    Cp("Mirabelo/Range/Geral - Combustível\r\nBins : ")}));
        QVERIFY(!T.Habilitado("BitBtnSalvar") && T.Habilitado("BitBtnExcluir"));

        // "Todas" typed in any letter case; a company's own file; a partial code loads nothing, without a word.
        T.Clica("ComboBoxEmpresa");
        T.Tecla(Qt::Key_Delete);
        T.Digita("tOdAs");
        QCOMPARE(T.Trocas.back(), (TTroca{300, "tOdAs"}));
        QCOMPARE(T.Itens().size(), 2u);
        T.Tecla(Qt::Key_Delete);
        T.Digita("0000");
        QCOMPARE(T.Grade()->RowCount(), 2);
        const std::size_t Caixas = T.Caixas.size();
        T.Digita("0123");
        QCOMPARE(T.Coluna(0), (std::vector<std::string>{"DA EMPRESA", ""}));
        QCOMPARE(T.Caixas.size(), Caixas);
    }

    // Entries and rows refused, each with its message; the panel keeps its state.
    void RecusasDoPainel()
    {
        TTela T;
        T.Abre("[TabBins]\r\nTotDeb=1\r\n[Debito_01]\r\nNome=CARTAO X\r\nBins=601234;\r\nSenha=0\r\n");
        T.Clica("Btn_inc_deb");
        T.Clica("BitBtnSalvar"); // nothing changed yet: disabled
        QVERIFY(T.Caixas.empty());
        for (const char* Bin : {"12345", "601234-601230", "601234567", "601234"})
            AdicionaBin(T, Bin);
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
        T.ClicaLinha(1, false, "GridBins");
        T.RespostasCaixa = {IDYES};
        T.Clica("BitBtnExcluirBins");
        QCOMPARE(T.UltimaCaixa(), std::string("Deseja excluir [601234567] da lista ?"));
        T.Clica("BitBtnSalvar");
        QCOMPARE(T.UltimaCaixa(), std::string("Digite um Bin!"));
        QVERIFY(T.Controle("GridBins")->isVisible());

        // 25 entries of 9 digits fill 250 characters; a 26th would pass 255.
        for (int I = 0; I < 26; ++I)
            AdicionaBin(T, std::to_string(100000000 + I * 1000).c_str());
        QCOMPARE(T.Grade("GridBins")->RowCount(), 27);
        QVERIFY(T.UltimaCaixa().find("255") != std::string::npos);
        T.Clica("BitBtnSalvar");
        QCOMPARE(T.Grade()->Cells(1, 2).size(), std::size_t(250));
        QCOMPARE(T.Grade()->columnWidth(1), 1500); // six pixels a character of the longest list
    }

    // A stored table longer than the grid: the stale sections go, the file's other settings stay.
    void GravaSobreTabelaMaisLongaEExclui()
    {
        TTela T;
        std::string Arquivo = "[Geral]\r\nCodigoEstabelecimento=000000000000123\r\n[TrnHabilitada]\r\nDebitoVista=1\r\n"
                              "[TabBins]\r\nTotDeb=5\r\nTotComb=3\r\n";
        for (int I = 1; I <= 5; ++I)
            Arquivo += "[Debito_0" + std::to_string(I) + "]\r\nNome=C" + std::to_string(I) + "\r\nBins=60000" +
                       std::to_string(I) + ";\r\nSenha=" + (I == 1 ? "S" : "1") + "\r\n";
        for (int I = 0; I <= 3; ++I)
            Arquivo += "[Combustivel_0" + std::to_string(I) + "]\r\nNome=F\r\nBins=700000;\r\nSenha=0\r\n";
        T.Abre(Arquivo);
        QCOMPARE(T.Coluna(0), (std::vector<std::string>{"C1", "C2", "C3", "C4", "C5", ""}));
        QCOMPARE(T.Coluna(2), (std::vector<std::string>{"", "      X", "      X", "      X", "      X", ""}));
        T.RespostasCaixa = {IDYES, IDYES, IDYES};
        for (int I = 0; I < 3; ++I) {
            T.ClicaLinha(3);
            T.Clica("Btn_exc_deb");
        }
        QCOMPARE(T.Caixas.front().Texto, std::string("Deseja excluir [C3] da Tabela ?"));
        T.ClicaAba("TabSet", 1);
        for (int I = 0; I < 3; ++I) {
            T.RespostasCaixa = {IDYES};
            T.ClicaLinha(1, false, "Grade_Comb");
            T.Clica("Btn_exc_comb");
        }
        QCOMPARE(T.Grade("Grade_Comb")->RowCount(), 2);
        T.Clica("BitBtnSalvar");
        QCOMPARE(Le(T, "TabBins", "TotDeb"), std::string("2"));
        QCOMPARE(Le(T, "TabBins", "TotComb"), std::string("0"));
        QCOMPARE(Le(T, "Debito_01", "Senha"), std::string("0"));
        QCOMPARE(Le(T, "Debito_02", "Nome"), std::string("C2"));
        for (const char* Secao : {"Debito_03", "Debito_05", "Combustivel_00", "Combustivel_03"})
            QCOMPARE(Le(T, Secao, "Nome"), std::string("<nada>"));

        T.Clica("BitBtnExcluir");
        QCOMPARE(T.UltimaCaixa(), std::string("Deseja excluir a Tabela de Bins ?"));
        QCOMPARE(T.Grade()->RowCount(), 4); // answered No
        T.RespostasCaixa = {IDYES};
        T.Clica("BitBtnExcluir");
        QCOMPARE(T.Grade()->RowCount(), 2);
        QCOMPARE(Le(T, "TabBins", "TotDeb"), std::string("<nada>"));
        QCOMPARE(Le(T, "Debito_01", "Nome"), std::string("<nada>"));
        QCOMPARE(Le(T, "Geral", "CodigoEstabelecimento"), std::string("000000000000123"));
        QCOMPARE(Le(T, "TrnHabilitada", "DebitoVista"), std::string("1"));
        const std::vector<std::string> Linhas = T.Auditoria();
        QCOMPARE(std::vector<std::string>(Linhas.end() - 2, Linhas.end()),
                 (std::vector<std::string>{Cp("Mirabelo/Range/Geral - Debito - Opção Exclusão"),
                                           Cp("Mirabelo/Range/Geral - Combustível - Opção Exclusão")}));
    }

    // Altering by a double click: the name is fixed; cancel refills the panel; returning without
    // confirming gives the tables back their unsaved state.
    void AlteraCancelaERetorna()
    {
        TTela T;
        T.Abre("[TabBins]\r\nTotDeb=2\r\n[Debito_01]\r\nNome=A\r\nBins=601234;602000-602999;\r\nSenha=1\r\n"
               "[Debito_02]\r\nNome=B\r\nBins=700000;700001\r\nSenha=0\r\n");
        T.RespostasCaixa = {IDYES};
        T.ClicaLinha(2);
        T.Clica("Btn_exc_deb"); // unsaved change in the tables
        QVERIFY(T.Habilitado("BitBtnSalvar"));
        T.ClicaLinha(1, true);
        QCOMPARE(T.Controle<TLabel>("Lbl_Titulo")->Caption(), Cp("Débito/Alterar"));
        QVERIFY(!T.Habilitado("EditNome") && T.Marcada("Ck_senha"));
        QCOMPARE(T.Coluna(0, "GridBins"), (std::vector<std::string>{"601234", "602000-602999", ""}));
        T.Marca("Ck_senha");
        T.RespostasCaixa = {IDYES};
        T.Clica("BitBtnCancelar");
        QVERIFY(T.Marcada("Ck_senha") && !T.Habilitado("BitBtnSalvar"));
        QCOMPARE(T.Grade("GridBins")->RowCount(), 4);
        // Replace an entry: taken out with Editar, typed over, added back in its place.
        T.ClicaLinha(2, false, "GridBins");
        T.Clica("BitBtnEditarBins");
        QVERIFY(!T.Habilitado("BitBtnExcluirBins"));
        T.Apaga("EditBins");
        T.Digita("601235");
        T.Clica("BitBtnIncluirBins");
        QCOMPARE(T.Coluna(0, "GridBins"), (std::vector<std::string>{"601234", "601235", ""}));
        T.RespostasCaixa = {IDYES};
        T.Clica("BitBtnRetornar");
        QVERIFY(T.Controle("PageControl")->isVisible());
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

    // The audit entries reach the log before the file changes: with the log a pipe nobody reads yet,
    // the save waits with the file as it was, and ends once both entries are read.
    void AuditoriaAntesDoArquivo()
    {
        TTela T;
        T.Abre("[TabBins]\r\nTotDeb=1\r\n[Debito_01]\r\nNome=A\r\nBins=601234;\r\nSenha=1\r\n");
        const std::string Antes = TRaizTeste::Le(ArquivoGeral(T));
        const std::filesystem::path Log = T.Raiz.Pasta / "auditoria.jsonl";
        std::filesystem::remove(Log);
        QCOMPARE(mkfifo(Log.c_str(), 0600), 0);
        T.RespostasCaixa = {IDYES};
        T.ClicaLinha(1);
        T.Clica("Btn_exc_deb");
        bool Intacto = false;
        std::string Lido;
        std::thread Leitor([&] {
            std::this_thread::sleep_for(std::chrono::milliseconds(300));  // the save waits on the log by now
            Intacto = TRaizTeste::Le(ArquivoGeral(T)) == Antes;
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
        QCOMPARE(Le(T, "TabBins", "TotDeb"), std::string("0"));
    }

    // Stored counts that are not a number (an empty table) or pass the rows the file holds (its rows,
    // never millions of blank ones): both reported; the next save writes true counts.
    void TotaisInvalidos()
    {
        TTela T;
        T.Abre("[TabBins]\r\nTotDeb=abc\r\nTotComb=2000000000\r\n[Debito_01]\r\nNome=A\r\nBins=601234;\r\nSenha=1\r\n"
               "[Combustivel_01]\r\nNome=F\r\nBins=700000;\r\nSenha=0\r\n[Combustivel_03]\r\nNome=G\r\n");
        QCOMPARE(T.Grade()->RowCount(), 2);
        QCOMPARE(T.Coluna(0, "Grade_Comb"), (std::vector<std::string>{"F", "", "G", ""}));
        QCOMPARE(T.Caixas.size(), std::size_t(2));
        QVERIFY(T.Caixas[0].Texto.find("TotDeb=abc") != std::string::npos);
        QVERIFY(T.Caixas[1].Texto.find("TotComb=2000000000") != std::string::npos);
        T.Clica("Btn_inc_deb");
        T.Escreve("EditNome", "B");
        AdicionaBin(T, "700000"); // the fuel row's BIN: a debit row may hold it too
        T.Clica("BitBtnSalvar");
        T.Clica("BitBtnSalvar");
        QCOMPARE(Le(T, "TabBins", "TotDeb"), std::string("1"));
        QCOMPARE(Le(T, "Debito_01", "Bins"), std::string("700000;"));
        QCOMPARE(Le(T, "TabBins", "TotComb"), std::string("3"));
        QCOMPARE(Le(T, "Combustivel_03", "Nome"), std::string("G"));
    }

    // A user who may only view: no panel by a double click, no cancel or delete of the tables.
    void SomenteConsulta()
    {
        TTela T(2);
        T.Abre("[TabBins]\r\nTotDeb=1\r\n[Debito_01]\r\nNome=A\r\nBins=601234;\r\nSenha=1\r\n");
        T.ClicaLinha(1, true);
        QVERIFY(T.Controle("PageControl")->isVisible());
        QVERIFY(!T.Habilitado("EditBins") && !T.Habilitado("EditNome"));
        T.Clica("BitBtnExcluir");
        QCOMPARE(T.Caixas.size(), std::size_t(1));
        QCOMPARE(T.UltimaCaixa(), Cp("Usuário não autorizado para essa opção."));
        QCOMPARE(Le(T, "Debito_01", "Nome"), std::string("A"));
        // A row taken out of the grid cannot be cancelled back by this user either.
        T.RespostasCaixa = {IDYES};
        T.ClicaLinha(1);
        T.Clica("Btn_exc_deb");
        T.Clica("BitBtnCancelar");
        QCOMPARE(T.Caixas.size(), std::size_t(3));
        QCOMPARE(T.UltimaCaixa(), Cp("Usuário não autorizado para essa opção."));
        QCOMPARE(T.Grade()->RowCount(), 2);
    }
};

QTEST_MAIN(TabelaBinsTeste)
#include "uFormTabelaBins_167171_test.moc"
