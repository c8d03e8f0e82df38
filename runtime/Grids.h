#pragma once
// TStringGrid: a grid of text cells over QTableWidget. Row 0 is the title row (the header); data rows
// are 1 to RowCount - 1. Cells are addressed column first, as Cells[Col, Row].
#include "platform/Export.h"
#include "runtime/Controls.h"

#include <QTableWidget>
#include <string>

class KOVANRT_API TStringGrid : public TControle<QTableWidget> {
    Q_OBJECT
public:
    explicit TStringGrid(QWidget* Pai = nullptr);

    int ColCount() const;
    void SetColCount(int Quantidade);
    /// Rows including the title row.
    int RowCount() const;
    void SetRowCount(int Quantidade);

    std::string Cells(int Coluna, int Linha) const;
    void SetCells(int Coluna, int Linha, const std::string& Texto);

    /// The selected data row (1-based like the cells), or 0 when none is.
    int Row() const;
    void SetRow(int Linha);

    void SetColWidths(int Coluna, int Largura);
    void SetDefaultRowHeight(int Altura);

signals:
    /// The user moved the selection to a cell.
    void SelectCell(int Coluna, int Linha);
    void DblClick();

private:
    bool MudandoPorCodigo = false;
};
