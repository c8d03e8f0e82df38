#pragma once
// TStringGrid: a grid of text cells over QTableView. Row 0 is the title row (the header); data rows
// are 1 to RowCount - 1. Cells are addressed column first, as Cells[Col, Row]. When the user moves to
// another cell, SelectCell asks first: a handler that answers false keeps the current cell.
//
// The grid's own model holds the cells as CP1252 strings, row after row, and converts a cell only
// when Qt draws it: setting and reading cells costs no conversion and no object per cell.
#include "platform/Export.h"
#include "runtime/Controls.h"

#include <QTableView>
#include <string>
#include <string_view>

class TModeloGrade;

class KOVANRT_API TStringGrid : public TControle<QTableView> {
    Q_OBJECT
public:
    explicit TStringGrid(QWidget* Pai = nullptr);
    ~TStringGrid() override;

    int ColCount() const;
    void SetColCount(int Quantidade);
    /// Rows including the title row.
    int RowCount() const;
    void SetRowCount(int Quantidade);

    std::string Cells(int Coluna, int Linha) const;
    void SetCells(int Coluna, int Linha, const std::string& Texto);
    /// The text of a data cell (Linha >= 1) without a copy; valid until the cell changes.
    std::string_view TextoCelula(int Coluna, int Linha) const;

    /// Many cells set at once (a table loaded): the view hears of the changes made until
    /// TerminaCarga in one notice, instead of one per cell. Row counts still change at once.
    void IniciaCarga();
    void TerminaCarga();

    /// The selected data row (1-based like the cells), or 0 when none is.
    int Row() const;
    /// Moves the selection from code; SelectCell is not asked.
    void SetRow(int Linha);
    int Col() const;

    int ColWidths(int Coluna) const { return columnWidth(Coluna); }
    void SetColWidths(int Coluna, int Largura);
    void SetDefaultRowHeight(int Altura);
    /// Whole rows are selected (goRowSelect), or single cells.
    void SetSelecaoLinha(bool Linha);

signals:
    /// The user is moving the selection to a cell; PodeSelecionar false keeps the current one.
    void SelectCell(int Coluna, int Linha, bool& PodeSelecionar);
    void DblClick();
    void Enter();
    void Exit();

protected:
    void mousePressEvent(QMouseEvent* Evento) override;
    void keyPressEvent(QKeyEvent* Evento) override;
    void mouseDoubleClickEvent(QMouseEvent* Evento) override;

private:
    friend class TSelecaoGrade;
    /// Asks SelectCell about a move to the model cell Indice; true when it may happen.
    bool PodeIrPara(const QModelIndex& Indice);
    TModeloGrade* Modelo;
    bool MudandoPorCodigo = false;
    bool Recusado = false; // the last move was refused: the selection that goes with it is dropped too
};
