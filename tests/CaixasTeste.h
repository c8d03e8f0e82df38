#pragma once
// The message box and the question box answered as a headless host answers them while the object
// lives: every box recorded, the answers taken from queues (an empty queue: the box's default button).
#include "runtime/Dialogs.h"
#include "runtime/QuestionBox.h"

#include <deque>
#include <string>
#include <vector>

struct TCaixaMostrada {
    std::string Texto, Titulo;
    unsigned Flags;
};

struct TPerguntaFeita {
    std::string Titulo, Texto;
    std::vector<std::string> Botoes;
    int Padrao;
};

class TCaixasTeste {
public:
    TCaixasTeste() { AtendeCaixas(); }
    ~TCaixasTeste()
    {
        KovanSetMessageBoxHandler(nullptr, nullptr);
        KovanSetQuestionBoxHandler(nullptr, nullptr);
    }
    TCaixasTeste(const TCaixasTeste&) = delete;
    TCaixasTeste& operator=(const TCaixasTeste&) = delete;

    /// Takes the boxes over again (after a test let a real box show).
    void AtendeCaixas()
    {
        KovanSetMessageBoxHandler(&RespondeMensagem, this);
        KovanSetQuestionBoxHandler(&RespondePergunta, this);
    }
    std::string UltimaCaixa() const { return Caixas.empty() ? std::string() : Caixas.back().Texto; }

    std::vector<TCaixaMostrada> Caixas;
    std::deque<int> RespostasCaixa;
    std::vector<TPerguntaFeita> Perguntas;
    std::deque<int> RespostasPergunta;

private:
    static int Proxima(std::deque<int>& Fila, int Padrao)
    {
        if (Fila.empty())
            return Padrao;
        const int R = Fila.front();
        Fila.pop_front();
        return R;
    }
    static int RespondeMensagem(void* Contexto, const char* Texto, const char* Titulo, unsigned Flags)
    {
        auto* Eu = static_cast<TCaixasTeste*>(Contexto);
        Eu->Caixas.push_back({Texto, Titulo, Flags});
        const int Padrao = (Flags & 0xF) != MB_YESNO ? IDOK : (Flags & MB_DEFBUTTON2) ? IDNO : IDYES;
        return Proxima(Eu->RespostasCaixa, Padrao);
    }
    static int RespondePergunta(void* Contexto, const char* Titulo, const char* Texto, const char* const* Botoes,
                                int Quantos, int Padrao)
    {
        auto* Eu = static_cast<TCaixasTeste*>(Contexto);
        Eu->Perguntas.push_back({Titulo, Texto, std::vector<std::string>(Botoes, Botoes + Quantos), Padrao});
        return Proxima(Eu->RespostasPergunta, Padrao);
    }
};
