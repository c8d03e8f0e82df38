#include "runtime/Grids.h"

#include "runtime/Texto.h"

#include <QAbstractTableModel>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <algorithm>
#include <vector>

// The cells, row after row, as the system's CP1252 text; Qt sees them converted when it asks (to
// draw them). During a load a cell changes without a notice; the load's end tells of them all.
class TModeloGrade final : public QAbstractTableModel {
public:
    explicit TModeloGrade(QObject* Pai) : QAbstractTableModel(Pai) {}

    int rowCount(const QModelIndex& Pai = {}) const override { return Pai.isValid() ? 0 : Linhas; }
    int columnCount(const QModelIndex& Pai = {}) const override { return Pai.isValid() ? 0 : Colunas; }

    QVariant data(const QModelIndex& Indice, int Papel) const override
    {
        if (!Indice.isValid() || (Papel != Qt::DisplayRole && Papel != Qt::EditRole))
            return {};
        return QStringDeCp1252(Celula(Indice.column(), Indice.row()));
    }
    QVariant headerData(int Secao, Qt::Orientation Orientacao, int Papel) const override
    {
        if (Orientacao == Qt::Horizontal && Papel == Qt::DisplayRole && Secao >= 0 && Secao < Colunas)
            return QStringDeCp1252(Titulos[static_cast<std::size_t>(Secao)]);
        return QAbstractTableModel::headerData(Secao, Orientacao, Papel);
    }
    Qt::ItemFlags flags(const QModelIndex& Indice) const override
    {
        return Indice.isValid() ? Qt::ItemIsSelectable | Qt::ItemIsEnabled : Qt::NoItemFlags;
    }

    std::string& Celula(int Coluna, int Linha)
    {
        return Celulas[static_cast<std::size_t>(Linha) * static_cast<std::size_t>(Colunas) + static_cast<std::size_t>(Coluna)];
    }
    const std::string& Celula(int Coluna, int Linha) const { return const_cast<TModeloGrade*>(this)->Celula(Coluna, Linha); }
    bool TemCelula(int Coluna, int Linha) const noexcept
    {
        return Coluna >= 0 && Coluna < Colunas && Linha >= 0 && Linha < Linhas;
    }

    void MudaCelula(int Coluna, int Linha, const std::string& Texto)
    {
        std::string& C = Celula(Coluna, Linha);
        if (C == Texto)
            return;
        C = Texto;
        if (!Carregando) {
            const QModelIndex Indice = index(Linha, Coluna);
            emit dataChanged(Indice, Indice);
        }
    }
    const std::string& Titulo(int Coluna) const { return Titulos[static_cast<std::size_t>(Coluna)]; }
    void MudaTitulo(int Coluna, const std::string& Texto)
    {
        Titulos[static_cast<std::size_t>(Coluna)] = Texto;
        emit headerDataChanged(Qt::Horizontal, Coluna, Coluna);
    }

    void MudaLinhas(int N)
    {
        if (N > Linhas) {
            beginInsertRows({}, Linhas, N - 1);
            Celulas.resize(static_cast<std::size_t>(N) * static_cast<std::size_t>(Colunas));
            Linhas = N;
            endInsertRows();
        } else if (N < Linhas) {
            beginRemoveRows({}, N, Linhas - 1);
            Celulas.resize(static_cast<std::size_t>(N) * static_cast<std::size_t>(Colunas));
            Linhas = N;
            endRemoveRows();
        }
    }
    void MudaColunas(int N)
    {
        if (N == Colunas)
            return;
        const bool Mais = N > Colunas;
        if (Mais)
            beginInsertColumns({}, Colunas, N - 1);
        else
            beginRemoveColumns({}, N, Colunas - 1);
        std::vector<std::string> Novas(static_cast<std::size_t>(Linhas) * static_cast<std::size_t>(N));
        for (int L = 0; L < Linhas; ++L)
            for (int C = 0; C < std::min(N, Colunas); ++C)
                Novas[static_cast<std::size_t>(L) * static_cast<std::size_t>(N) + static_cast<std::size_t>(C)] =
                    std::move(Celula(C, L));
        Celulas = std::move(Novas);
        Titulos.resize(static_cast<std::size_t>(N));
        Colunas = N;
        if (Mais)
            endInsertColumns();
        else
            endRemoveColumns();
    }

    void IniciaCarga() { Carregando = true; }
    void TerminaCarga()
    {
        if (!Carregando)
            return;
        Carregando = false;
        if (Linhas > 0 && Colunas > 0)
            emit dataChanged(index(0, 0), index(Linhas - 1, Colunas - 1));
    }

private:
    int Linhas = 0, Colunas = 0;
    std::vector<std::string> Celulas;
    std::vector<std::string> Titulos;
    bool Carregando = false;
};

// The grid's selection model: a move of the current cell by the user is first offered to SelectCell.
class TSelecaoGrade : public QItemSelectionModel {
public:
    TSelecaoGrade(QAbstractItemModel* Modelo, TStringGrid* Grade) : QItemSelectionModel(Modelo, Grade), Grade(Grade) {}

    void setCurrentIndex(const QModelIndex& Indice, QItemSelectionModel::SelectionFlags Comando) override
    {
        if (Grade)
            Grade->Recusado = !Grade->PodeIrPara(Indice);
        if (!Grade || !Grade->Recusado)
            QItemSelectionModel::setCurrentIndex(Indice, Comando);
    }
    void select(const QItemSelection& Selecao, QItemSelectionModel::SelectionFlags Comando) override
    {
        if (!Grade || !Grade->Recusado)
            QItemSelectionModel::select(Selecao, Comando);
    }
    using QItemSelectionModel::select;

    TStringGrid* Grade; // null once the grid is going: Qt still moves the selection while it dies
};

TStringGrid::TStringGrid(QWidget* Pai) : TControle(Pai), Modelo(new TModeloGrade(this))
{
    setTabKeyNavigation(false); // Tab leaves the grid, as on Windows
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    verticalHeader()->hide();
    setModel(Modelo);
    Modelo->MudaColunas(5);
    Modelo->MudaLinhas(4);
    QItemSelectionModel* Antigo = selectionModel();
    setSelectionModel(new TSelecaoGrade(Modelo, this));
    delete Antigo;
}

TStringGrid::~TStringGrid()
{
    if (auto* Selecao = dynamic_cast<TSelecaoGrade*>(selectionModel()))
        Selecao->Grade = nullptr;
}

bool TStringGrid::PodeIrPara(const QModelIndex& Indice)
{
    if (MudandoPorCodigo || !Indice.isValid() || Indice == currentIndex())
        return true;
    bool Pode = true;
    ExecutaProtegido([&] { emit SelectCell(Indice.column(), Indice.row() + 1, Pode); });
    return Pode;
}

void TStringGrid::mousePressEvent(QMouseEvent* Evento)
{
    Recusado = false;
    QTableView::mousePressEvent(Evento);
    Recusado = false;
}

void TStringGrid::mouseDoubleClickEvent(QMouseEvent* Evento)
{
    QTableView::mouseDoubleClickEvent(Evento);
    ExecutaProtegido([this] { emit DblClick(); });
}

void TStringGrid::keyPressEvent(QKeyEvent* Evento)
{
    Recusado = false;
    QTableView::keyPressEvent(Evento);
    Recusado = false;
}

int TStringGrid::ColCount() const { return Modelo->columnCount(); }
void TStringGrid::SetColCount(int Quantidade) { Modelo->MudaColunas(std::max(Quantidade, 1)); }
int TStringGrid::RowCount() const { return Modelo->rowCount() + 1; }
void TStringGrid::SetRowCount(int Quantidade)
{
    MudandoPorCodigo = true;
    Modelo->MudaLinhas(std::max(Quantidade - 1, 0));
    MudandoPorCodigo = false;
}

std::string TStringGrid::Cells(int Coluna, int Linha) const
{
    if (Linha == 0 && Coluna >= 0 && Coluna < ColCount())
        return Modelo->Titulo(Coluna);
    return std::string(TextoCelula(Coluna, Linha));
}

std::string_view TStringGrid::TextoCelula(int Coluna, int Linha) const
{
    if (!Modelo->TemCelula(Coluna, Linha - 1))
        return {};
    return Modelo->Celula(Coluna, Linha - 1);
}

void TStringGrid::SetCells(int Coluna, int Linha, const std::string& Texto)
{
    if (Coluna < 0 || Coluna >= ColCount() || Linha < 0 || Linha >= RowCount())
        return;
    if (Linha == 0)
        Modelo->MudaTitulo(Coluna, Texto);
    else
        Modelo->MudaCelula(Coluna, Linha - 1, Texto);
}

void TStringGrid::IniciaCarga() { Modelo->IniciaCarga(); }
void TStringGrid::TerminaCarga() { Modelo->TerminaCarga(); }

int TStringGrid::Row() const { return currentIndex().row() + 1; }
void TStringGrid::SetRow(int Linha)
{
    MudandoPorCodigo = true;
    Recusado = false;
    setCurrentIndex(Modelo->index(Linha - 1, std::max(currentIndex().column(), 0)));
    MudandoPorCodigo = false;
}
int TStringGrid::Col() const { return currentIndex().column(); }

void TStringGrid::SetColWidths(int Coluna, int Largura) { setColumnWidth(Coluna, Largura); }
void TStringGrid::SetDefaultRowHeight(int Altura) { verticalHeader()->setDefaultSectionSize(Altura); }
void TStringGrid::SetSelecaoLinha(bool Linha)
{
    setSelectionBehavior(Linha ? QAbstractItemView::SelectRows : QAbstractItemView::SelectItems);
}
