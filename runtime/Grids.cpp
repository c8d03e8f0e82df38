#include "runtime/Grids.h"

#include <QHeaderView>

TStringGrid::TStringGrid(QWidget* Pai) : TControle(Pai)
{
    setTabKeyNavigation(false); // Tab leaves the grid, as on Windows
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    verticalHeader()->hide();
    setColumnCount(5);
    setRowCount(4);
    connect(this, &QTableWidget::currentCellChanged, this, [this](int Linha, int Coluna, int, int) {
        if (!MudandoPorCodigo && Linha >= 0)
            emit SelectCell(Coluna, Linha + 1);
    });
    connect(this, &QTableWidget::cellDoubleClicked, this, [this] { emit DblClick(); });
}

int TStringGrid::ColCount() const { return columnCount(); }
void TStringGrid::SetColCount(int Quantidade) { setColumnCount(std::max(Quantidade, 1)); }
int TStringGrid::RowCount() const { return rowCount() + 1; }
void TStringGrid::SetRowCount(int Quantidade)
{
    MudandoPorCodigo = true;
    setRowCount(std::max(Quantidade - 1, 0));
    MudandoPorCodigo = false;
}

std::string TStringGrid::Cells(int Coluna, int Linha) const
{
    const QTableWidgetItem* Celula = Linha == 0 ? horizontalHeaderItem(Coluna) : item(Linha - 1, Coluna);
    return Celula ? Cp1252DeQString(Celula->text()) : std::string();
}

void TStringGrid::SetCells(int Coluna, int Linha, const std::string& Texto)
{
    if (Coluna < 0 || Coluna >= columnCount() || Linha < 0 || Linha > rowCount())
        return;
    const QString Valor = QStringDeCp1252(Texto);
    if (Linha == 0)
        setHorizontalHeaderItem(Coluna, new QTableWidgetItem(Valor));
    else if (QTableWidgetItem* Celula = item(Linha - 1, Coluna))
        Celula->setText(Valor);
    else
        setItem(Linha - 1, Coluna, new QTableWidgetItem(Valor));
}

int TStringGrid::Row() const { return currentRow() + 1; }
void TStringGrid::SetRow(int Linha)
{
    MudandoPorCodigo = true;
    setCurrentCell(Linha - 1, std::max(currentColumn(), 0));
    MudandoPorCodigo = false;
}

void TStringGrid::SetColWidths(int Coluna, int Largura) { setColumnWidth(Coluna, Largura); }
void TStringGrid::SetDefaultRowHeight(int Altura) { verticalHeader()->setDefaultSectionSize(Altura); }
