#pragma once
// "Estabelecimento": the establishment code the network assigned to each company, kept in section
// "Geral", key "CodigoEstabelecimento" of the company's Mirabelo.ini. Shown, saved with a duplicate
// check, cancelled, and deleted for one company or for all, each save and delete audited.
#include "screens/uFormPadraoCfgEstab.h"
#include "runtime/Classes.h"

class TEdit;

class TFormEstabelecimento_167171 : public TFormPadraoCfgEstab {
    Q_OBJECT
public:
    explicit TFormEstabelecimento_167171(QWidget* Owner = nullptr);

    TLabel* Label1;
    TEdit* EditCodigoEstab;

    void FormShow() override;
    /// The base handler, then the chosen company's stored code when the choice is valid.
    void ComboBoxEmpresaChange() override;
    void ComboBoxEmpresaEnter() override;
    void ComboBoxEmpresaExit() override;
    void BitBtnSalvarClick() override;
    void BitBtnCancelarClick() override;
    void BitBtnExcluirClick() override;
    void DadosModificados(bool Valor) override;

    void EditCodigoEstabEnter();
    /// Pads a non-empty code with "0" on the left to 15 characters.
    void EditCodigoEstabExit();
    void EditCodigoEstabKeyPress(char& Key);

    /// Writes the audit line of a save ("INCLUSAO", any letter case) or of a delete (any other kind).
    void Monta_Msg_Log(const std::string& Tipo, const std::string& Empresa);
    /// True when a company of the box other than Empresa stores Codigo (letter case ignored).
    bool ExistCodigoEstab(const std::string& Empresa, const std::string& Codigo);
};

/// The class the module registers under the name "TFormEstabelecimento_167171".
extern const TFormClass ClasseFormEstabelecimento_167171;
