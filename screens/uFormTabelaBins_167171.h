#pragma once
// "Tabela Bins": the debit and fuel BIN tables of a company, or of the general file under "Todas",
// kept in the network's module ini file (sections TabBins, Debito_NN and Combustivel_NN).
#include "config/TabelaBins.h"
#include "screens/uFormPadraoCfgBins_B.h"
#include "runtime/Classes.h"

#include <optional>
#include <string>

class TFormTabelaBins_167171 : public TFormPadraoCfgBins_B {
    Q_OBJECT
public:
    explicit TFormTabelaBins_167171(QWidget* Owner = nullptr);

    void FormShow() override;
    /// Loads both tables of the file the company box names.
    void ComboBoxEmpresaChange() override;
    /// Saves both tables (tables view) or confirms the composed row into its table (edit panel).
    void BitBtnSalvarClick() override;
    /// Adds or replaces one BIN entry of the composed row.
    void BitBtnIncluirBinsClick() override;
    void Btn_exc_crClick() override;
    void BitBtnCancelarClick() override;
    /// Removes the BIN tables from the file; its other settings stay.
    void BitBtnExcluirClick() override;
    void TabSheet1Resize() override;
    virtual void Ck_senhaClick();

    void IncluiDadosNaGrid(int Linha, const std::string& Nome, const std::string& Bins, bool Senha);
    /// One audit line for table 0 (debit) or 1 (fuel).
    void Monta_Msg_Log(const std::string& Operacao, int Tabela);

private:
    /// The company code the company box names: empty (the general file) under "Todas".
    std::string EmpresaDoArquivo() const;
    /// True when the company box names the file whose tables the grids show; otherwise says so
    /// (message 389) and a save or delete is refused.
    bool CaixaNomeiaTabelas() const;
    /// The edit boxes open only to a user allowed to change (action 4).
    void HabilitaEdicao();
    /// Where the shared save and delete write their audit entries: this screen's log.
    TAuditoria Auditoria();
    /// The grids' column titles, which the audit text names for an empty cell.
    TTitulosBins Titulos() const;

    /// The company code of the file the grids were loaded from ("" for the general file).
    std::optional<std::string> EmpresaCarregada;
};

/// The class the module registers under the name "TFormTabelaBins_167171".
extern const TFormClass ClasseFormTabelaBins_167171;
