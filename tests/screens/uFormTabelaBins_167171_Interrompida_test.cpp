// "Tabela Bins" saving in a process killed (SIGKILL) at random points, a few hundred times: after every
// kill the general file holds the whole old table or the whole new one, and a killed save leaves
// nothing beside it but the file's one temporary. Each writer is this program run again as "--escritor <folder> <fd>".
#include "ProcessoTeste.h"
#include "TelaTeste.h"
#include "runtime/Grids.h"
#include "screens/uFormTabelaBins_167171.h"

#include <cstring>

namespace {

// A child starts four times slower under AddressSanitizer; a hundred rounds still cover the whole save.
#ifdef __SANITIZE_ADDRESS__
constexpr int Rodadas = 100;
#else
constexpr int Rodadas = 300;
#endif

// Version 0 has 60 debit rows and version 1 has 100, all different: a save of either over the other
// rewrites every row, and one of 60 also removes 40 stale sections.
void PreencheVersao(TTelaTeste& T, int Versao)
{
    auto* Tela = static_cast<TFormTabelaBins_167171*>(T.Form.data());
    TStringGrid* Grade = Tela->Grade_Deb;
    const int Linhas = Versao ? 100 : 60;
    Tela->LimparStringGrid(Grade);
    Grade->SetRowCount(Linhas + 2);
    for (int I = 1; I <= Linhas; ++I) {
        Grade->SetCells(0, I, "CARTAO " + std::to_string(I) + (Versao ? " NOVO" : ""));
        Grade->SetCells(1, I, std::to_string(600000 + I) + ";" + std::to_string(700000 + 10 * I + Versao) + "-" +
                                  std::to_string(700000 + 10 * I + 5) + ";");
        Grade->SetCells(2, I, (I + Versao) % 2 ? MarcaSenha : "");
    }
    Tela->DadosModificados(true);
}

// The writer: opens the screen on the root in Pasta and saves one version after the other, telling
// each save done through Aviso, until it is killed. Every save changes the file.
int EscreveSemParar(const char* Pasta, int Aviso)
{
    TTelaTeste T(0, Pasta);
    T.Abre("TFormTabelaBins_167171");
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

class TabelaBinsInterrompidaTeste : public QObject {
    Q_OBJECT
private slots:
    void SalvarMortoDeixaTabelaVelhaOuNova()
    {
        TTelaTeste T;
        const std::filesystem::path Arquivo = T.Raiz.Raiz / "config" / "Mirabelo.ini";
        TRaizTeste::Grava(Arquivo, "[Geral]\r\nCodigoEstabelecimento=000000000012345\r\n");
        // The files of whole saves of either version over the other, once the first saves have settled.
        std::string Tabela[2];
        T.Abre("TFormTabelaBins_167171");
        for (int Vez = 0; Vez < 4; ++Vez) {
            PreencheVersao(T, Vez % 2);
            T.Clica("BitBtnSalvar");
            Tabela[Vez % 2] = TRaizTeste::Le(Arquivo);
        }
        int Vistas[2] = {0, 0};
        std::string Falha;
        const std::string Programa = QCoreApplication::applicationFilePath().toStdString();
        const bool Rodou = MataEscritorAoAcaso(
            Rodadas, 6000,
            [&](int Aviso) {
                execl(Programa.c_str(), Programa.c_str(), "--escritor", T.Raiz.Pasta.c_str(),
                      std::to_string(Aviso).c_str(), nullptr);
            },
            [&](int Rodada, pid_t) {
                const std::string Agora = TRaizTeste::Le(Arquivo);
                if (Agora != Tabela[0] && Agora != Tabela[1])
                    Falha = "a mix of both tables, " + std::to_string(Agora.size()) + " bytes";
                ++Vistas[Agora == Tabela[1]];
                // A killed save leaves at most the file's one temporary, which the next save writes over.
                for (const auto& E : std::filesystem::directory_iterator(Arquivo.parent_path()))
                    if (const std::string Nome = E.path().filename().string();
                        Nome.rfind(".Mirabelo.ini", 0) == 0 && Nome != ".Mirabelo.ini.tmp")
                        Falha = Nome + " left by a save";
                if (!Falha.empty())
                    Falha = "round " + std::to_string(Rodada) + ": " + Falha;
                return Falha.empty();
            });
        QVERIFY2(Rodou, Falha.empty() ? "a child did not get to its first save" : Falha.c_str());
        QVERIFY2(Vistas[0] > 0 && Vistas[1] > 0, "the kills did not land on both tables");
    }
};

int main(int argc, char** argv)
{
    QApplication App(argc, argv);
    if (argc == 4 && std::strcmp(argv[1], "--escritor") == 0)
        return EscreveSemParar(argv[2], std::atoi(argv[3]));
    TabelaBinsInterrompidaTeste Teste;
    return QTest::qExec(&Teste, argc, argv);
}
#include "uFormTabelaBins_167171_Interrompida_test.moc"
