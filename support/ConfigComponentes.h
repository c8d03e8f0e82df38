#pragma once
// ConfigComponentes: translation of the screens. The translation dictionary (named in TabTraducao.ini)
// maps untranslated screen texts to translated ones in its section Geral; every text settled for a
// control is remembered per form in the form text store beside the dictionary (".esp"), which a person
// may correct by hand and which decides from then on.
#include <memory>
#include <string>

class TForm;
class TIniFile;

class TInternacional {
public:
    /// Keeps the store path and the application title (each cut to 255 bytes) and opens the form text
    /// store; the file need not exist yet.
    TInternacional(const std::string& ArquivoForm, const std::string& TituloAplicacao);
    ~TInternacional();
    TInternacional(const TInternacional&) = delete;
    TInternacional& operator=(const TInternacional&) = delete;

    /// Translates the caption of Form and the texts of every toolkit control it holds, in the order of
    /// its component list, through the store and then the dictionary. Never throws; a control whose
    /// store cannot be written keeps the dictionary's text.
    void TextoMLForm(TForm& Form) noexcept;

    /// The dictionary's translation of Texto from Secao (at most 255 bytes). An about text ("Sobre -",
    /// "Acerca de -") is translated by its head up to its first ":", the rest kept. An ordinary text
    /// without a translation answers itself; an about text without one answers empty.
    static std::string VerificaIdioma(const std::string& Secao, const std::string& Texto) noexcept;

    /// The store's value of Chave in section "<title>.<Secao>"; when empty, Padrao is written there (in
    /// double quotes) and answered.
    std::string TextoML(const std::string& Secao, const std::string& Chave, const std::string& Padrao) noexcept;

    const std::string& ArquivoForm() const noexcept { return Arquivo; }
    const std::string& TituloAplicacao() const noexcept { return Titulo; }

private:
    /// The text of one control: the store's value of Chave under the form's name, or else the
    /// dictionary's translation of Texto, which is then stored.
    std::string TextoComponente(const std::string& NomeForm, const std::string& Chave, const std::string& Texto) noexcept;

    std::string Arquivo;
    std::string Titulo;
    std::unique_ptr<TIniFile> Ini;
};

/// Translation start-up of a newly created screen. When the dictionary exists and its file name is
/// exactly "ESP_CfKovan.ini" (case counts), a new translator with the store beside it replaces
/// ConfigComp; then, with a dictionary present, whichever translator ConfigComp holds translates Form.
/// No dictionary: nothing happens.
void IniciaTraducao(std::unique_ptr<TInternacional>& ConfigComp, TForm& Form) noexcept;
