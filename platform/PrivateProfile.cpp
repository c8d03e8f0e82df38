#include "platform/PrivateProfile.h"

// Placeholder until the engine lands.
std::uint32_t GetPrivateProfileStringA(const char*, const char*, const char* Padrao, char* Buffer,
                                       std::uint32_t Tamanho, const char*)
{
    if (!Buffer || Tamanho == 0)
        return 0;
    std::uint32_t N = 0;
    for (; Padrao && Padrao[N] && N + 1 < Tamanho; ++N)
        Buffer[N] = Padrao[N];
    Buffer[N] = 0;
    return N;
}

int WritePrivateProfileStringA(const char*, const char*, const char*, const char*) { return 0; }

std::uint32_t GetPrivateProfileSectionNamesA(char* Buffer, std::uint32_t Tamanho, const char*)
{
    if (Buffer && Tamanho)
        Buffer[0] = 0;
    return 0;
}
