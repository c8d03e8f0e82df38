// The company data exchange through the exported entry point, on a real server root, with the
// questions answered by a message-box handler as a host would.
#include "module/info.h"

#include "CaixasTeste.h"
#include "ModuloCarregado.h"
#include "platform/Cp1252.h"
#include "runtime/IniFiles.h"
#include "support/RaizTraducao.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

namespace fs = std::filesystem;

namespace {

// A box as "text|title|flags": every box of the exchange is titled ATENÇÃO.
std::string Caixa(const std::string& Texto, unsigned Flags)
{
    return Utf8ParaCp1252(Texto + "|ATENÇÃO|") + std::to_string(Flags);
}
const std::string Finalizada = Caixa("A importação foi finalizada.", MB_OK | MB_ICONINFORMATION);
const std::string Incompleta = Caixa("A importação não foi efetuada completamente.", MB_OK | MB_ICONWARNING);

// Question A (the code is already in this import) or B (another company holds it).
std::string Pergunta(char Qual, const std::string& E, const std::string& O)
{
    return Caixa("Código do Estabelecimento da empresa [" + E +
                     (Qual == 'A' ? "] é igual ao da empresa [" : "] já está sendo usado pela empresa [") + O +
                     "], portanto será desconsiderado. Deseja continuar?",
                 MB_YESNO | (Qual == 'A' ? MB_ICONWARNING : MB_ICONERROR));
}

class DadosEmpresaTeste : public ::testing::Test, public TCaixasTeste {
protected:
    void SetUp() override { R.MultiEmpresa(); }

    void Codigo(const std::string& Empresa, const std::string& Valor)
    {
        R.CriaEmpresa(Empresa);
        TRaizTeste::Grava(R.IniEmpresa(Empresa), "[geral]\r\ncodigoestabelecimento=" + Valor + "\r\n");
    }
    std::string Guardado(const std::string& Empresa) const
    {
        return TIniFile(R.IniEmpresa(Empresa).string()).ReadString("geral", "codigoestabelecimento", "<none>");
    }
    std::vector<std::string> Mostradas() const
    {
        std::vector<std::string> Lista;
        for (const TCaixaMostrada& C : Caixas)
            Lista.push_back(C.Texto + "|" + C.Titulo + "|" + std::to_string(C.Flags));
        return Lista;
    }

    // Resultado, read out of the packed record by value.
    int Chama(std::uint16_t Operacao, char* Buffer, std::int32_t Tamanho, const std::string& Empresa = "")
    {
        TDadosCfg D{Operacao, 0, {}, Tamanho, Buffer};
        std::memcpy(D.CodEmpresa, Empresa.data(), std::min(Empresa.size(), sizeof D.CodEmpresa));
        Dados(&D);
        return D.Resultado;
    }
    int Chama(std::uint16_t Operacao, const std::string& Empresa, std::vector<char>& Buffer)
    {
        return Chama(Operacao, Buffer.data(), static_cast<std::int32_t>(Buffer.size()), Empresa);
    }
    int Importa(const std::vector<std::string>& Entradas)
    {
        std::string Lista;
        for (const std::string& E : Entradas)
            Lista += E + '\0';
        std::vector<char> Buffer(Lista.c_str(), Lista.c_str() + Lista.size() + 1);
        return Chama(1, "", Buffer);
    }

    TRaizTraducao R;
    TModuloCarregado Modulo;
    void (*Dados)(TDadosCfg*) = Modulo.Funcao<void (*)(TDadosCfg*)>("DadosEmpresa");
};

// The first Quantas entries of an exported list, sorted.
std::vector<std::string> Entradas(const std::vector<char>& Buffer, int Quantas)
{
    std::vector<std::string> Lista;
    for (const char* P = Buffer.data(); Quantas-- > 0; P += Lista.back().size() + 1)
        Lista.emplace_back(P);
    std::sort(Lista.begin(), Lista.end());
    return Lista;
}

} // namespace

TEST_F(DadosEmpresaTeste, ExportaComoGuardadoEApagaSoASecaoGeral)
{
    Codigo("00000001", "12345");
    R.CriaEmpresa("00000002");
    TRaizTeste::Grava(R.IniEmpresa("00000002"),
                      "[geral]\r\ncodigoestabelecimento=000000000000002\r\n[TabBins]\r\nTotDeb=1\r\n");
    R.CriaEmpresa("00000003");
    std::vector<char> Buffer(256, 'x');
    EXPECT_EQ(Chama(0, "00000001", Buffer), 1);
    EXPECT_EQ(std::string(Buffer.data(), 17), std::string("00000001;12345\0\0", 16) + 'x') << "exported as stored";
    ASSERT_EQ(Chama(0, "", Buffer), 2);
    EXPECT_EQ(Entradas(Buffer, 2), (std::vector<std::string>{"00000001;12345", "00000002;000000000000002"}));
    ASSERT_EQ(Chama(3, "", Buffer), 3);
    EXPECT_EQ(Entradas(Buffer, 3), (std::vector<std::string>{"00000001;12345", "00000002;000000000000002", "00000003;"}));
    EXPECT_EQ(Chama(0, "00000003", Buffer), 1);
    EXPECT_STREQ(Buffer.data(), "00000003;") << "one company: its entry even without a code";

    // An unknown operation touches nothing; erasing takes [geral] out, deleting a file left empty.
    EXPECT_EQ(Chama(7, "", Buffer), -100);
    EXPECT_EQ(Guardado("00000001"), "12345");
    EXPECT_EQ(Chama(2, "00000001", Buffer), 1);
    EXPECT_FALSE(fs::exists(R.IniEmpresa("00000001")));
    EXPECT_EQ(Guardado("00000002"), "000000000000002");
    EXPECT_EQ(Chama(2, "", Buffer), 3);
    EXPECT_EQ(TRaizTeste::Le(R.IniEmpresa("00000002")), "[TabBins]\r\nTotDeb=1\r\n");
}

TEST_F(DadosEmpresaTeste, BufferPequenoMantemEntradasAnterioresETerminaALista)
{
    for (int I = 1; I <= 3; ++I)
        Codigo("0000000" + std::to_string(I), "000000000000001");
    // Each entry takes 24 + 1 bytes; the second needs 24 + 25 + 2 < TamBuffer.
    std::vector<char> Buffer(60, 'x');
    EXPECT_EQ(Chama(3, Buffer.data(), 50), -1);
    EXPECT_EQ(std::strlen(Buffer.data()), 24u);
    EXPECT_EQ(Buffer[25], '\0') << "the list is ended after the entry that fit";
    for (std::size_t I = 50; I < Buffer.size(); ++I)
        ASSERT_EQ(Buffer[I], 'x') << "written past TamBuffer at " << I;

    // Nothing fits, or the host declared no buffer at all: the buffer is left as it was.
    for (std::int32_t Tamanho : {26, 0, -1}) {
        std::vector<char> Minimo(30, 'x');
        EXPECT_EQ(Chama(3, Minimo.data(), Tamanho), -1) << Tamanho;
        EXPECT_EQ(std::string(Minimo.begin(), Minimo.end()), std::string(30, 'x')) << Tamanho;
    }
}

TEST_F(DadosEmpresaTeste, ImportaCompletaComZerosEContaDuasVezes)
{
    R.CriaEmpresa("00000001");
    R.CriaEmpresa("00000002");
    Codigo("00000005", "000000000000005");
    const int D = Importa({"00000001;777", " 00000002 ; 12 ;extra", "0000003;5", "00000004;", "00000005;1234567890123456"});
    EXPECT_EQ(Guardado("00000001"), "000000000000777");
    EXPECT_EQ(Guardado("00000002"), "000000000000012");
    EXPECT_FALSE(fs::exists(R.Raiz / "config" / "empresas" / "0000003"));
    EXPECT_FALSE(fs::exists(R.IniEmpresa("00000004"))) << "an empty code stores nothing";
    EXPECT_EQ(Guardado("00000005"), "000000000000005") << "a code of 16 digits is not stored";
    EXPECT_EQ(D, 5 + 4) << "N, plus one per 8-character company";
    EXPECT_EQ(Mostradas(), (std::vector<std::string>{Caixa("O Código do Estabelecimento da empresa [00000005] possui "
                                                           "mais de 15 dígitos, portanto será desconsiderado.",
                                                           MB_OK | MB_ICONWARNING),
                                                     Finalizada}));
}

// Either question: Yes skips the entry and goes on, No ends the import there; with duplicates allowed
// neither is asked.
TEST_F(DadosEmpresaTeste, PerguntasDeCodigoRepetido)
{
    struct {
        std::vector<std::string> Lista;
        std::string Pergunta, Depois;  // Depois: the code 00000002 ends with after Yes (after No it keeps 66)
        int ResultadoSim, ResultadoNao;
    } Casos[] = {
        {{"00000001;77", "00000002;077", "00000003;9"}, Pergunta('A', "00000002", "00000001"), "000000000000066",
         3 + 2, 3 + 1},
        {{"00000002;55", "00000002;8", "00000003;9"}, Pergunta('B', "00000002", "00000001"), "000000000000008",
         3 + 2, 3},
    };
    for (const auto& Caso : Casos) {
        for (const bool Sim : {true, false}) {
            SCOPED_TRACE(Caso.Pergunta + (Sim ? " Yes" : " No"));
            Codigo("00000001", "000000000000055");
            Codigo("00000002", "000000000000066");
            fs::remove_all(R.IniEmpresa("00000003").parent_path());
            Caixas.clear();
            RespostasCaixa = {Sim ? IDYES : IDNO};
            EXPECT_EQ(Importa(Caso.Lista), Sim ? Caso.ResultadoSim : Caso.ResultadoNao);
            EXPECT_EQ(Mostradas(), (std::vector<std::string>{Caso.Pergunta, Sim ? Finalizada : Incompleta}));
            EXPECT_EQ(Guardado("00000002"), Sim ? Caso.Depois : "000000000000066");
            EXPECT_EQ(Guardado("00000003"), Sim ? "000000000000009" : "<none>") << "No ends the import there";
        }
    }

    R.MultiEmpresa(true);
    Caixas.clear();
    Importa({"00000002;55", "00000003;55"});
    EXPECT_EQ(Mostradas(), std::vector<std::string>{Finalizada});
    EXPECT_EQ(Guardado("00000002"), "000000000000055");
    EXPECT_EQ(Guardado("00000003"), "000000000000055");
}

TEST_F(DadosEmpresaTeste, MonoEmpresaUsaSo00000000)
{
    fs::remove(R.Raiz / "config" / "KovanCfg.ini");
    Codigo("00000000", "000000000000010");
    Codigo("00000123", "000000000000020");
    std::vector<char> Buffer(128, 'x');
    EXPECT_EQ(Chama(0, "00000123", Buffer), 1);
    EXPECT_STREQ(Buffer.data(), "00000000;000000000000010");

    RespostasCaixa = {IDYES};
    Importa({"00000123;10", "00000456;30"});
    EXPECT_EQ(Guardado("00000123"), "000000000000010") << "checked against 00000000 only when the entry is listed";
    EXPECT_EQ(Guardado("00000456"), "000000000000030");

    EXPECT_EQ(Chama(2, "00000123", Buffer), 1);
    EXPECT_FALSE(fs::exists(R.IniEmpresa("00000000")));
    EXPECT_EQ(Guardado("00000123"), "000000000000010");
}

// TamBuffer is the buffer's size: nothing at or past it is read (a read past shows under ASan), and 0 or
// less is an empty buffer that shows nothing. The signed 16-bit Resultado stops at 32767 instead of
// wrapping into the error codes, whether N plus one per entry passes it (40000) or N alone passes 65536.
TEST_F(DadosEmpresaTeste, ImportaLeSoOQueOHostDeclarouESaturaEm32767)
{
    R.CriaEmpresa("00000001");
    const auto Buffer = std::make_unique<char[]>(24);
    std::memcpy(Buffer.get(), "00000001;777" "00000002;888", 24);
    for (std::int32_t Tamanho : {0, -12})
        EXPECT_EQ(Chama(1, Buffer.get(), Tamanho), 0) << Tamanho;
    EXPECT_TRUE(Caixas.empty());
    EXPECT_EQ(Chama(1, Buffer.get(), 12), 1 + 1) << "the last entry ends at the declared size";
    EXPECT_EQ(Guardado("00000001"), "000000000000777");
    EXPECT_EQ(Importa(std::vector<std::string>(20000, "00000001;")), 32767);
    EXPECT_EQ(Importa(std::vector<std::string>(70000, "x;")), 32767);
}

// A code that is not 8 letters or digits names no company in any operation, and never becomes a path.
TEST_F(DadosEmpresaTeste, CodigosDeEmpresaHostisNaoViramCaminho)
{
    R.CriaEmpresa("00000001");
    const int D = Importa({"../../..;123", "a/b\\c..;5", "0000001\n;6", "00000001;12\r\n[x]\r\ny=1"});
    EXPECT_EQ(D, 4 + 1) << "only the valid company counts";
    std::vector<std::string> Arquivos;
    for (auto& E : fs::recursive_directory_iterator(R.Pasta))
        if (E.is_regular_file())
            Arquivos.push_back(fs::relative(E.path(), R.Pasta).string());
    std::sort(Arquivos.begin(), Arquivos.end());
    EXPECT_EQ(Arquivos, (std::vector<std::string>{"CfKovan.ini", "Kovan/config/00000001.cnf", "Kovan/config/KovanCfg.ini"}))
        << "nothing written anywhere; a code with CR or LF is never written either";
    std::vector<char> Buffer(64, 'x');
    EXPECT_EQ(Chama(0, "../../..", Buffer), 0);
    EXPECT_EQ(Chama(2, "../../..", Buffer), 0);
}
