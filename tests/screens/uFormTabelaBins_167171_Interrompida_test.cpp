// "Tabela Bins" saving in a process killed (SIGKILL) at random points, a few hundred times: after
// every kill the general file holds the whole old table or the whole new one, and what a killed save
// left behind goes with the next save. Each writer is this program started again as
// "--escritor <folder> <descriptor>": a fresh process that opens the screen on the test's root.
#include "ProcessoTeste.h"
#include "TelaTeste.h"
#include "runtime/Grids.h"
#include "screens/uFormTabelaBins_167171.h"

#include <cstring>

namespace fs = std::filesystem;

namespace {

// Under AddressSanitizer a child costs four times as long to start; a hundred rounds still spread
// the kills over the whole save there.
#ifdef __SANITIZE_ADDRESS__
constexpr int Rodadas = 100;
#else
constexpr int Rodadas = 300;
#endif

// Version 0 has 60 debit rows and version 1 has 100, every name and BIN list different, so a save of
// either over the other rewrites every row, and one of 60 also removes 40 stale sections.
void PreencheVersao(TTelaTeste& T, int Versao)
{
    auto* Tela = static_cast<TFormTabelaBins_167171*>(T.Form.data());
    TStringGrid* Grade = Tela->Grade_Deb;
    const int Linhas = Versao ? 100 : 60;
    Tela->LimparStringGrid(Grade);
    Grade->SetRowCount(Linhas + 2);
    for (int I = 1; I <= Linhas; ++I) {
        const std::string N = std::to_string(I);
        Grade->SetCells(0, I, "CARTAO " + N + (Versao ? " NOVO" : ""));
        Grade->SetCells(1, I, std::to_string(600000 + I) + ";" + std::to_string(700000 + 10 * I + Versao) + "-" +
                                  std::to_string(700000 + 10 * I + 5) + ";");
        Grade->SetCells(2, I, (I + Versao) % 2 ? MarcaSenha : "");
    }
    Tela->DadosModificados(true);
}

// Temporary files of the general file's replaces: ".Mirabelo.ini.<pid>.<n>.tmp".
std::vector<std::string> Temporarios(const fs::path& Pasta)
{
    std::vector<std::string> Nomes;
    for (const auto& E : fs::directory_iterator(Pasta))
        if (const std::string Nome = E.path().filename().string(); Nome.rfind(".Mirabelo.ini.", 0) == 0)
            Nomes.push_back(Nome);
    return Nomes;
}

} // namespace

class TabelaBinsInterrompidaTeste : public QObject {
    Q_OBJECT
private slots:
    void SalvarMortoDeixaTabelaVelhaOuNova()
    {
        TTelaTeste T;
        const fs::path Arquivo = T.Raiz.Raiz / "config" / "Mirabelo.ini";
        TRaizTeste::Grava(Arquivo, "[Geral]\r\nCodigoEstabelecimento=000000000012345\r\n");
        // The two files a whole save leaves, each made over the other (the first saves move the count's
        // section to where it then stays).
        std::string Tabela[2];
        T.Abre("TFormTabelaBins_167171");
        for (int Vez = 0; Vez < 5; ++Vez) {
            PreencheVersao(T, Vez % 2);
            T.Clica("BitBtnSalvar");
            if (Vez == 2 || Vez == 3)
                Tabela[Vez % 2] = TRaizTeste::Le(Arquivo);
        }
        QCOMPARE(TRaizTeste::Le(Arquivo), Tabela[0]);
        QVERIFY(Tabela[1].size() > Tabela[0].size() + 2000);
        delete T.Form.data();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

        // Each child opens the screen (which loads what the file holds) and saves the other version,
        // then one after the other until it is killed.
        int Vistas[2] = {0, 0};
        std::string Falha;
        const std::string Programa = QCoreApplication::applicationFilePath().toStdString();
        const std::string Pasta = T.Raiz.Pasta.string();
        const bool Rodou = MataEscritorAoAcaso(
            Rodadas, 6000,
            [&](int Aviso) {
                const std::string Descritor = std::to_string(Aviso);
                execl(Programa.c_str(), Programa.c_str(), "--escritor", Pasta.c_str(), Descritor.c_str(), nullptr);
            },
            [&](int Rodada, pid_t Filho) {
                const std::string Agora = TRaizTeste::Le(Arquivo);
                if (Agora != Tabela[0] && Agora != Tabela[1]) {
                    Falha = "round " + std::to_string(Rodada) + ": a mix of both tables, " +
                            std::to_string(Agora.size()) + " bytes";
                    return false;
                }
                ++Vistas[Agora == Tabela[1]];
                // The child saved at least once, which removes what the children before it left.
                const std::string Seu = ".Mirabelo.ini." + std::to_string(Filho) + ".";
                for (const std::string& Nome : Temporarios(Arquivo.parent_path()))
                    if (Nome.rfind(Seu, 0) != 0) {
                        Falha = "round " + std::to_string(Rodada) + ": " + Nome + " left by an earlier save";
                        return false;
                    }
                return true;
            });
        QVERIFY2(Rodou, Falha.empty() ? "a child did not get to its first save" : Falha.c_str());
        QVERIFY2(Vistas[0] > 0 && Vistas[1] > 0, "the kills did not land on both tables");
    }
};

namespace {

// The writer: opens the screen on the root in Pasta, as the host would, and saves one version after the
// other, telling each save done through Aviso, until it is killed.
int EscreveSemParar(const char* Pasta, int Aviso)
{
    TTelaTeste T(0, Pasta);
    T.Cria("TFormTabelaBins_167171");
    T.Form->show();
    if (!QTest::qWaitForWindowExposed(T.Form.data()))
        return 1;
    QCoreApplication::processEvents();
    // Every save changes the file: the first one writes the version the screen did not load.
    const bool CarregouNova = static_cast<TFormTabelaBins_167171*>(T.Form.data())->Grade_Deb->RowCount() == 102;
    for (int Vez = CarregouNova ? 0 : 1;; ++Vez) {
        PreencheVersao(T, Vez % 2);
        T.Clica("BitBtnSalvar");
        const char Feito = 1;
        if (write(Aviso, &Feito, 1) != 1)
            return 1;
    }
}

} // namespace

int main(int argc, char** argv)
{
    QApplication App(argc, argv);
    if (argc == 4 && std::strcmp(argv[1], "--escritor") == 0)
        return EscreveSemParar(argv[2], std::atoi(argv[3]));
    TabelaBinsInterrompidaTeste Teste;
    return QTest::qExec(&Teste, argc, argv);
}
#include "uFormTabelaBins_167171_Interrompida_test.moc"
