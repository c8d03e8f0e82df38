#pragma once
// Reading a fuzz input: fixed-size numbers and length-prefixed texts, taken from the front; past the
// end every read gives zeros and empty texts, so any input decodes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>
#include <unistd.h>

class TEntradaFuzz {
public:
    TEntradaFuzz(const std::uint8_t* Dados, std::size_t Tamanho) : Dados(Dados), Resta(Tamanho) {}

    bool Vazia() const { return Resta == 0; }
    std::size_t Restante() const { return Resta; }

    template <class T>
    T Numero()
    {
        T Valor{};
        const std::size_t N = std::min(sizeof Valor, Resta);
        std::memcpy(&Valor, Dados, N);
        Avanca(N);
        return Valor;
    }
    std::string Bytes(std::size_t N)
    {
        N = std::min(N, Resta);
        std::string Texto(reinterpret_cast<const char*>(Dados), N);
        Avanca(N);
        return Texto;
    }
    /// A text of one length byte and its bytes; length 255 is a null pointer.
    std::optional<std::string> Texto()
    {
        const std::uint8_t N = Numero<std::uint8_t>();
        if (N == 255)
            return std::nullopt;
        return Bytes(N);
    }
    std::string Resto() { return Bytes(Resta); }

private:
    void Avanca(std::size_t N)
    {
        Dados += N;
        Resta -= N;
    }
    const std::uint8_t* Dados;
    std::size_t Resta;
};

/// A folder of its own under the temporary directory, removed when the fuzz process exits.
inline const std::filesystem::path& PastaTemporariaFuzz()
{
    static const std::filesystem::path Pasta = [] {
        std::string Modelo = (std::filesystem::temp_directory_path() / "kovan-fuzz-XXXXXX").string();
        if (!mkdtemp(Modelo.data()))
            std::abort();
        std::atexit([] {
            std::error_code Erro;
            std::filesystem::remove_all(PastaTemporariaFuzz(), Erro);
        });
        return std::filesystem::path(Modelo);
    }();
    return Pasta;
}
