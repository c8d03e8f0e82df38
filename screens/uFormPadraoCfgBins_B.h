#pragma once
// Base of the BIN-table screens. It keeps one table per transaction kind (credit, debit, agreement,
// fuel), each a grid of card name, BIN list and PIN flag on a page of its own, and an edit panel in
// which one row is composed: its name, its PIN flag and its BIN entries, one by one. It owns the two
// views and the switching between them, the grids and their operations, the typing rules of a BIN or
// BIN range, the overlap test between entries, the sort of the BIN list and the modified state. A
// network's screen chooses the tables shown, adds, confirms, deletes, saves and maps them to its file.
#include "config/TabelaBins.h"
#include "screens/uFormPadraoCfgEstab.h"

#include <string>
#include <vector>

class TBitBtn;
class TCheckBox;
class TEdit;
class TLabel;
class TPageControl;
class TSpeedButton;
class TStringGrid;
class TTabSet;
class TTabSheet;

/// The BIN rules the screens share with the data-exchange tool.
using RegrasBins::CompletaBin;
using RegrasBins::ComparaBin;
/// Sort key of a row: the listed columns' cells, trimmed, one after the other (at most 255 characters).
std::string SomaColunas(const TStringGrid& Grade, const std::vector<int>& Colunas, int Linha);
/// Sorts rows Primeira..Ultima (all columns move) by their keys, compared as byte strings.
void QuickSortStringGrid(TStringGrid& Grade, const std::vector<int>& Colunas, int Primeira, int Ultima);

/// The PIN flag as a table grid shows it.
inline constexpr const char* MarcaSenha = "      X";

/// Unit-wide state, shared by every BIN-table screen (only one is open at a time).
struct TEstadoBins {
    TStringGrid* Grid = nullptr;  // the table grid of the active page
    std::string opcao;            // "I" including a new row, "A" altering the selected one
    bool TabelasShow = true;      // the tables view is shown (else the edit panel)
    int LinhaSel = 0, ColunaSel = 0;
    int LinhaSel2 = 0, ColunaSel2 = 0;
    bool flagMod = false;         // the tables hold unsaved changes
    bool FlagAux = false;         // flagMod when the edit panel opened
};
TEstadoBins& EstadoBins() noexcept;

class TFormPadraoCfgBins_B : public TFormPadraoCfgEstab {
    Q_OBJECT
public:
    explicit TFormPadraoCfgBins_B(QWidget* Owner = nullptr);
    /// Forgets the unit-wide state, whose grid reference points into this screen.
    ~TFormPadraoCfgBins_B() override;

    // The edit panel.
    TLabel* Label1;
    TEdit* EditBins;
    TBitBtn* BitBtnIncluirBins;
    TBitBtn* BitBtnEditarBins;
    TBitBtn* BitBtnExcluirBins; // enabled: a typed BIN is added; disabled: it replaces the one taken out
    TStringGrid* GridBins;
    TLabel* Label3;
    TEdit* EditNome;
    TCheckBox* Ck_senha;
    TLabel* Lbl_Titulo;

    // The tables view, over the panel.
    TPageControl* PageControl;
    TTabSheet* TabSheetCred;
    TTabSheet* TabSheetDeb;
    TTabSheet* TabSheetConv;
    TTabSheet* TabSheetComb;
    TSpeedButton *Btn_inc_cr, *Btn_alt_cr, *Btn_exc_cr;
    TSpeedButton *Btn_inc_deb, *Btn_alt_deb, *Btn_exc_deb;
    TSpeedButton *Btn_inc_conv, *Btn_alt_conv, *Btn_exc_conv;
    TSpeedButton *Btn_inc_comb, *Btn_alt_comb, *Btn_exc_comb;
    TStringGrid* Grade_Cred;
    TStringGrid* Grade_Deb;
    TStringGrid* Grade_Conv;
    TStringGrid* Grade_Comb;
    TTabSet* TabSet;

    void FormShow() override;

    void Mostra_Tabelas(bool Mostra);
    void ExibeFundo(bool Mostra);
    void Clear_Fundo();
    void MostraTitulo();
    void GridAtivo();

    void LimparStringGrid(TStringGrid* Grade);
    void IncluiDadosNaGrid2(int Linha, const std::string& Bin);
    /// Removes a row of the active table (tables view) or of the BIN list (edit panel).
    void DeleteGridRow(int Linha);
    void MoveBin(const std::string& ListaBins);
    bool ExisteNome(const std::string& Nome);
    /// True when Bin overlaps an entry of the BIN list (in replace mode, the one replaced excepted).
    bool Procura_bin_Grid2(const std::string& Bin);

    virtual void Grid_SelectCell(TStringGrid* Sender, int Coluna, int Linha, bool& PodeSelecionar);
    virtual void Btn_inc_crClick();
    virtual void Btn_alt_crClick();
    virtual void Btn_exc_crClick();
    virtual void Grade_CredDblClick(TStringGrid* Sender);
    virtual void EditBinsKeyPress(char& Key);
    virtual void BitBtnIncluirBinsClick();
    virtual void BitBtnEditarBinsClick();
    virtual void BitBtnExcluirBinsClick();
    virtual void EditNomeChange();
    virtual void EditBinsEnter();
    virtual void PageControlEnter();
    virtual void TabSetEnter();
    virtual void TabSetClick();
    virtual void TabSheet1Resize();
    /// Delete and Ctrl+V empty the company box instead of deleting or pasting.
    void ComboBoxEmpresaKeyDown(Word& Key, TShiftState Shift) override;
    void BitBtnRetornarClick() override;

    /// Save, cancel as Valor; delete and the company box the opposite.
    void DadosModificados(bool Valor) override;
    /// Save, cancel, delete and the company box all as Valor (the edit panel opening).
    void DadosModificadosGrid(bool Valor);

protected:
    bool eventFilter(QObject* Objeto, QEvent* Evento) override;

private:
    void FocaPainel();
};
