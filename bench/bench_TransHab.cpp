// "Transações Habilitadas" at 10,000 companies, against figures measured in the same run:
//  - deleting the enabled transactions of every company ("Todas"), each company's file opened, its
//    section removed and an audit entry written, against a floor that removes the same section from
//    the same files with the same atomic write (temporary file, fdatasync, rename) and appends the same
//    audit entries to a file;
//  - opening the screen and loading one company, against opening "Estabelecimento" on the same root
//    and against one uncached read of the company list.
#include "Medida.h"
#include "config/Lib.h"
#include "platform/Cp1252.h"
#include "runtime/Application.h"
#include "runtime/Classes.h"
#include "runtime/Dialogs.h"
#include "runtime/Forms.h"
#include "runtime/QuestionBox.h"
#include "runtime/StdCtrls.h"
#include "screens/uFormEstabelecimento_167171.h"
#include "screens/uFormTransHab_167171.h"
#include "support/EventLog.h"

#include <QApplication>
#include <QtTest>
#include <fcntl.h>
#include <nlohmann/json.hpp>
#include <tuple>
#include <vector>

namespace fs = std::filesystem;

namespace {

const std::string Secao = "[trnhabilitada]\r\ndebitovista=1\r\ncancelamento=1\r\nparceladojurosestabelecimento=0\r\n"
                          "numeroparcelas=\r\n";

struct TServidor {
    fs::path Pasta;
    std::vector<std::string> Empresas;

    explicit TServidor(int Quantas) : Pasta(bench::PastaTemporaria()), Empresas(bench::CriaRaiz(Pasta, Quantas))
    {
        Restaura();
        Application().SetExeName((Pasta / "bin" / "cfkovan").string());
        qputenv("KOVAN_EVENTLOG", QByteArray::fromStdString(Auditoria().string()));
    }
    ~TServidor() { fs::remove_all(Pasta); }

    fs::path Ini(std::size_t I) const { return Pasta / "Kovan" / "config" / "empresas" / Empresas[I] / "Mirabelo.ini"; }
    fs::path Auditoria() const { return Pasta / "eventos.log"; }
    // Every company with its establishment code and its enabled transactions; no audit entries yet.
    void Restaura() const
    {
        for (std::size_t I = 0; I < Empresas.size(); ++I)
            bench::Grava(Ini(I), "[geral]\r\ncodigoestabelecimento=0000000" + Empresas[I] + "\r\n" + Secao);
        fs::remove(Auditoria());
    }
    // Companies that still hold the section, and audit entries written.
    std::pair<int, int> Conta() const
    {
        int ComSecao = 0;
        for (std::size_t I = 0; I < Empresas.size(); ++I) {
            std::ifstream F(Ini(I), std::ios::binary);
            const std::string Texto{std::istreambuf_iterator<char>(F), {}};
            ComSecao += Texto.find("[trnhabilitada]") != std::string::npos;
        }
        std::ifstream F(Auditoria());
        int Linhas = 0;
        for (std::string L; std::getline(F, L);)
            ++Linhas;
        return {ComSecao, Linhas};
    }
};

// The floor: per company, read the file, drop the section's lines, write the rest as the ini writer
// does (temporary file beside it, fdatasync, rename), then append the audit entry in one write.
void PisoExclusao(const TServidor& S, TEvtLog& Log)
{
    const std::string Auditoria = S.Auditoria().string();
    for (std::size_t I = 0; I < S.Empresas.size(); ++I) {
        const std::string Final = S.Ini(I).string();
        std::ifstream Entrada(Final, std::ios::binary);
        const std::string Texto{std::istreambuf_iterator<char>(Entrada), {}};
        const std::string Resto = Texto.substr(0, Texto.find("[trnhabilitada]"));
        const std::string Temporario = Final + ".tmp";
        const int F = open(Temporario.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0644);
        if (F < 0 || write(F, Resto.data(), Resto.size()) != static_cast<ssize_t>(Resto.size()) || fdatasync(F) != 0)
            std::abort();
        close(F);
        rename(Temporario.c_str(), Final.c_str());

        const std::string Linha = Utf8ParaCp1252("Mirabelo/Transações Habilitadas/") + S.Empresas[I] +
                                  Utf8ParaCp1252(" - Opção Exclusão");
        const nlohmann::json Registro = {{"source", "Kovan"}, {"type", 4}, {"category", 0}, {"id", 0x80000002u},
                                         {"text", Cp1252ParaUtf8(Log.MontaTexto(Linha))}};
        const std::string Bytes = Registro.dump() + '\n';
        const int A = open(Auditoria.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
        if (A < 0 || write(A, Bytes.data(), Bytes.size()) != static_cast<ssize_t>(Bytes.size()))
            std::abort();
        close(A);
    }
}

// Created by class name, shown, and every posted message handled: what a person waits for.
TForm* Abre(const char* Classe)
{
    TForm* Tela = CriaFormPorNome(Classe, nullptr);
    Tela->show();
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
    return Tela;
}

void Fecha(TForm* Tela)
{
    delete Tela;
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication App(argc, argv);
    const int Quantas = argc > 1 ? std::atoi(argv[1]) : 10000;
    RegisterClass(ClasseFormEstabelecimento_167171);
    RegisterClass(ClasseFormTransHab_167171);
    KovanSetMessageBoxHandler([](void*, const char*, const char*, unsigned) { return IDYES; }, nullptr);
    KovanSetQuestionBoxHandler([](void*, const char*, const char*, const char* const*, int, int) { return 2; }, nullptr);
    const TServidor S(Quantas);

    // Opening, as in the "Estabelecimento" benchmark: Qt's first-use work outside the clock; "cold"
    // after a change of the config folder (the company list cache dropped), "warm" right after another
    // opening. The two screens alternate, so both see the same machine.
    std::vector<std::string> Lista;
    const std::string Raiz = LerRaizPathKovan(Application().ExeName());
    const bench::TTempo PisoLista = bench::Melhor(5, [&] { LerEmpresas(Raiz, Lista); });
    const char* const Classes[2] = {"TFormEstabelecimento_167171", "TFormTransHab_167171"};
    bench::TTempo Frio[2], Quente[2];
    for (const char* Classe : Classes)
        Fecha(Abre(Classe));
    for (int I = 0; I < 5; ++I)
        for (int C = 0; C < 2; ++C) {
            bench::Grava(S.Pasta / "Kovan" / "config" / "mudanca.tmp", "x");
            fs::remove(S.Pasta / "Kovan" / "config" / "mudanca.tmp");
            QTest::qWait(300);
            Frio[C] = bench::Menor(Frio[C], bench::Melhor(1, [&] { Fecha(Abre(Classes[C])); }));
            Quente[C] = bench::Menor(Quente[C], bench::Melhor(1, [&] { Fecha(Abre(Classes[C])); }));
        }

    // Deleting, twice each, screen and floor alternating over the same files; best of each.
    TEvtLog Log(Application().Title, Application().ExeName());
    bench::TTempo Exclusao, PisoExcluir;
    int RestamTela = -1, LinhasTela = -1, RestamPiso = -1, LinhasPiso = -1;
    for (int Volta = 0; Volta < 2; ++Volta) {
        S.Restaura();
        TForm* Tela = Abre("TFormTransHab_167171");
        auto* Excluir = Tela->findChild<TBitBtn*>("BitBtnExcluir");
        if (!Excluir || !Excluir->isEnabled())
            return 1;
        Exclusao = bench::Menor(Exclusao, bench::Melhor(1, [&] { Excluir->click(); }));
        std::tie(RestamTela, LinhasTela) = S.Conta();
        Fecha(Tela);

        S.Restaura();
        PisoExcluir = bench::Menor(PisoExcluir, bench::Melhor(1, [&] { PisoExclusao(S, Log); }));
        std::tie(RestamPiso, LinhasPiso) = S.Conta();
    }

    std::printf("%d companies; after the screen: %d sections left, %d audit entries; after the floor: %d, %d\n", Quantas,
                RestamTela, LinhasTela, RestamPiso, LinhasPiso);
    bench::Relata("delete \"Todas\"", Exclusao, PisoExcluir, 2.0);
    // For scale: opening "Transações Habilitadas" against opening "Estabelecimento", cold and warm.
    bench::Relata("open TransHab, cold (vs Estab.)", Frio[1], Frio[0], 1e9);
    bench::Relata("open TransHab, warm (vs Estab.)", Quente[1], Quente[0], 1e9);
    std::printf("uncached LerEmpresas: wall %.3f ms, CPU %.3f ms\n", PisoLista.Parede * 1e3, PisoLista.Cpu * 1e3);
    std::printf("peak memory %.1f MiB\n", bench::PicoMemoriaMiB());
    return RestamTela == 0 && LinhasTela == Quantas ? 0 : 1;
}
