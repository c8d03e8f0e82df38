// "Tabela Bins" with a 1,000-row debit table in the general file, against figures measured in the same run:
//  - saving both tables (3,001 keys for the debit one, every row changed, with their audit entries),
//    against one atomic replace (temporary file, fdatasync, rename) of the file the save leaves;
//  - loading both tables into the grids, against reading and parsing that file once;
//  - adding one BIN entry to a row that holds 25 (overlap test and sort), reported with the same work
//    done on a plain vector as its floor.
#include "Medida.h"
#include "platform/PrivateProfile.h"
#include "runtime/Application.h"
#include "runtime/Classes.h"
#include "runtime/Dialogs.h"
#include "runtime/Forms.h"
#include "runtime/Grids.h"
#include "runtime/StdCtrls.h"
#include "screens/uFormTabelaBins_167171.h"

#include <QApplication>
#include <algorithm>
#include <fcntl.h>
#include <fstream>
#include <map>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

std::string LeArquivo(const fs::path& Caminho)
{
    std::ifstream F(Caminho, std::ios::binary);
    return {std::istreambuf_iterator<char>(F), {}};
}

// The floor of a save: the resulting bytes written once, as the ini writer writes a file.
void SubstituiUmaVez(const fs::path& Final, const std::string& Bytes)
{
    const std::string Temporario = Final.string() + ".tmp";
    const int F = open(Temporario.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (F < 0 || write(F, Bytes.data(), Bytes.size()) != static_cast<ssize_t>(Bytes.size()) || fdatasync(F) != 0)
        std::abort();
    close(F);
    rename(Temporario.c_str(), Final.c_str());
}

// The floor of a load: the file read and split into sections and keys once.
std::size_t LeEAnalisa(const fs::path& Caminho)
{
    std::map<std::string, std::map<std::string, std::string>> Secoes;
    std::ifstream F(Caminho, std::ios::binary);
    std::map<std::string, std::string>* Atual = nullptr;
    for (std::string Linha; std::getline(F, Linha);) {
        if (!Linha.empty() && Linha.back() == '\r')
            Linha.pop_back();
        if (!Linha.empty() && Linha[0] == '[')
            Atual = &Secoes[Linha.substr(1, Linha.find(']') - 1)];
        else if (const std::size_t Igual = Linha.find('='); Atual && Igual != std::string::npos)
            (*Atual)[Linha.substr(0, Igual)] = Linha.substr(Igual + 1);
    }
    return Secoes.size();
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication App(argc, argv);
    const int Linhas = argc > 1 ? std::atoi(argv[1]) : 1000;
    const fs::path Pasta = bench::PastaTemporaria();
    bench::CriaRaiz(Pasta, 1);
    Application().SetExeName((Pasta / "bin" / "cfkovan").string());
    qputenv("KOVAN_EVENTLOG", QByteArray::fromStdString((Pasta / "eventos.log").string()));
    RegisterClass(ClasseFormTabelaBins_167171);
    KovanSetMessageBoxHandler([](void*, const char*, const char*, unsigned) { return IDYES; }, nullptr);

    const fs::path Geral = Pasta / "Kovan" / "config" / "Mirabelo.ini";
    std::string Arquivo = "[TabBins]\r\nTotDeb=" + std::to_string(Linhas) + "\r\nTotComb=0\r\n";
    for (int I = 1; I <= Linhas; ++I)
        Arquivo += "[Debito_" + std::string(I < 10 ? "0" : "") + std::to_string(I) + "]\r\nNome=CARTAO " +
                   std::to_string(I) + "\r\nBins=" + std::to_string(400000 + I) + ";" + std::to_string(50000000 + I) +
                   "-" + std::to_string(50000000 + I) + ";\r\nSenha=1\r\n";
    bench::Grava(Geral, Arquivo);

    auto* Tela = static_cast<TFormTabelaBins_167171*>(CriaFormPorNome("TFormTabelaBins_167171", nullptr));
    Tela->show();
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
    if (Tela->Grade_Deb->RowCount() != Linhas + 2)
        return 1;

    // Every save changes every row (the name of each alternates between two spellings), so each one
    // really replaces the file. Each save is followed by its floor, so both meet the same disk and load.
    const auto MudaNomes = [&](int Vez) {
        for (int I = 1; I <= Linhas; ++I)
            Tela->Grade_Deb->SetCells(0, I, "CARTAO " + std::to_string(I) + (Vez % 2 ? " B" : ""));
    };
    bench::TTempo Salvar, PisoSalvar;
    for (int Vez = 0; Vez < 20; ++Vez) {
        MudaNomes(Vez);
        const std::string Antes = LeArquivo(Geral);
        Salvar = bench::Menor(Salvar, bench::Melhor(1, [&] { Tela->BitBtnSalvarClick(); }));
        const std::string Salvo = LeArquivo(Geral);
        if (Salvo == Antes)
            return 1;
        PisoSalvar = bench::Menor(PisoSalvar, bench::Melhor(1, [&] { SubstituiUmaVez(Geral, Salvo); }));
    }
    bench::TTempo Carregar, PisoCarregar;
    for (int Vez = 0; Vez < 5; ++Vez) {
        Carregar = bench::Menor(Carregar, bench::Melhor(1, [&] { Tela->ComboBoxEmpresaChange(); }));
        PisoCarregar = bench::Menor(PisoCarregar, bench::Melhor(1, [&] { LeEAnalisa(Geral); }));
    }
    const bool Igual = Tela->Grade_Deb->RowCount() == Linhas + 2;

    // A row of 25 six-digit entries being composed; the 26th added and taken out again each time.
    Tela->Btn_inc_crClick();
    std::vector<std::string> Entradas;
    for (int I = 0; I < 25; ++I) {
        Entradas.push_back(std::to_string(600000 + 2 * I));
        Tela->IncluiDadosNaGrid2(Tela->GridBins->RowCount() - 1, Entradas.back());
    }
    const std::string Nova = "600001";
    bool Incluiu = true;
    const bench::TTempo Incluir = bench::Melhor(200, [&] {
        Tela->EditBins->SetText(Nova);
        Tela->BitBtnIncluirBinsClick();
        Incluiu = Incluiu && Tela->GridBins->RowCount() == 28 && Tela->GridBins->Cells(0, 2) == Nova;
        // Sorted in at row 2: the entries after it go back up and the added row away.
        Tela->GridBins->SetRowCount(Tela->GridBins->RowCount() - 1);
        for (int I = 2; I <= 25; ++I)
            Tela->GridBins->SetCells(0, I, Entradas[I - 1]);
    });
    const bench::TTempo PisoIncluir = bench::Melhor(200, [&] {
        bool Sobrepoe = false;
        for (const std::string& E : Entradas)
            Sobrepoe = Sobrepoe || ComparaBin(Nova, E);
        std::vector<std::string> Lista = Entradas;
        Lista.push_back(Nova);
        std::sort(Lista.begin(), Lista.end());
        if (Sobrepoe || Lista.size() != 26)
            std::abort();
    });

    std::printf("%d debit rows; grid after loading: %s%s\n", Linhas, Igual ? "all rows" : "ROWS MISSING",
                Incluiu ? "" : "; BIN NOT ADDED");
    bool Ok = bench::Relata("save both tables", Salvar, PisoSalvar, 3.0);
    Ok = bench::Relata("load both tables", Carregar, PisoCarregar, 2.0) && Ok;
    bench::Relata("add one BIN to a row of 25", Incluir, PisoIncluir, 1e9);  // for scale: the floor is a vector
    delete Tela;
    fs::remove_all(Pasta);
    return Igual && Incluiu && Ok ? 0 : 1;
}
