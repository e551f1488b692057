#include "TableLayout.h"

namespace {

ColumnLayout key(const char* name)
{
    return {QString::fromLatin1(name), ColumnKind::Integer, 0, true};
}

ColumnLayout integer(const char* name)
{
    return {QString::fromLatin1(name), ColumnKind::Integer};
}

ColumnLayout number(const char* name)
{
    return {QString::fromLatin1(name), ColumnKind::Number};
}

ColumnLayout date(const char* name)
{
    return {QString::fromLatin1(name), ColumnKind::Date};
}

ColumnLayout dateTime(const char* name)
{
    return {QString::fromLatin1(name), ColumnKind::DateTime};
}

ColumnLayout text(const char* name, int length)
{
    return {QString::fromLatin1(name), ColumnKind::Text, length};
}

// "  NAME = :NAME," for every column, the last without the comma.
QStringList assignmentLines(const std::vector<ColumnLayout>& columns)
{
    QStringList lines;
    for (const ColumnLayout& column : columns)
        lines << QStringLiteral("  %1 = :%1,").arg(column.name);
    lines.last().chop(1);
    return lines;
}

// "  NAME," for every column, the last without the comma.
QStringList selectListLines(const std::vector<ColumnLayout>& columns)
{
    QStringList lines;
    for (const ColumnLayout& column : columns)
        lines << QStringLiteral("  %1,").arg(column.name);
    lines.last().chop(1);
    return lines;
}

// The select, modify, delete and refresh templates follow from the table, its columns
// and the conditions that find a row by its keys (before the change, and as it is).
void deriveTemplates(TableLayout& layout, const QStringList& oldKeyConditions, const QStringList& keyConditions)
{
    layout.selectTemplate = {QStringLiteral("SELECT * FROM ") + layout.table};
    layout.modifyTemplate = QStringList{QStringLiteral("update ") + layout.table, QStringLiteral("set")}
        + assignmentLines(layout.columns) + QStringList{QStringLiteral("where")} + oldKeyConditions;
    layout.deleteTemplate =
        QStringList{QStringLiteral("delete from ") + layout.table, QStringLiteral("where")} + oldKeyConditions;
    layout.refreshTemplate = QStringList{QStringLiteral("Select ")} + selectListLines(layout.columns)
        + QStringList{QStringLiteral("from ") + layout.table + u' ', QStringLiteral("where")} + keyConditions;
}

std::vector<ColumnLayout> orderColumns()
{
    return {
        key("ORC_CODIGO"),           date("PED_DTEMISSAO"),          text("PED_OBS1", 70),
        text("PED_OBS2", 70),        text("PED_OBS3", 70),           integer("PED_VENDEDOR"),
        integer("PED_CONDPGTO"),     text("PED_EXPORTADO", 1),       number("PED_TOTAL"),
        text("PED_CNPJ_CPF", 14),    text("PED_NOMECLIENTE", 60),    text("PED_CANCELADO", 1),
        dateTime("PED_DTENVIO"),     text("PED_ENVIAEMAIL", 1),      text("PED_EMAILS", 200),
        text("PED_ENVIOUEMAIL", 1),  integer("PED_CLIENTE"),         number("PED_PERCENTUALFRETE"),
        date("PED_DTCARREGAMENTO"),  number("PED_VALORST"),          integer("PED_FILIAL"),
        text("PED_ENDERECOMAC", 17), text("PED_NOMEESTACAO", 40),    text("PED_NROPEDIDOCLIENTE", 15),
        text("PED_NROORDEMCOMPRA", 15), text("PED_PROPOSTACOMERCIAL", 1), integer("PED_NROITENS"),
        text("PED_FATURADO", 1),
    };
}

TableLayout makeOrderTableLayout()
{
    TableLayout layout;
    layout.table = QStringLiteral("PEDIDOS");
    layout.columns = orderColumns();
    layout.insertTemplate = {
        QStringLiteral("insert into PEDIDOS"),
        QStringLiteral("  (ORC_CODIGO, PED_DTEMISSAO, PED_OBS1, PED_OBS2, PED_OBS3, PED_VENDEDOR, "),
        QStringLiteral("   PED_CONDPGTO, PED_EXPORTADO, PED_TOTAL, PED_CNPJ_CPF, PED_NOMECLIENTE, "),
        QStringLiteral("   PED_CANCELADO, PED_DTENVIO, PED_ENVIAEMAIL, PED_EMAILS, PED_ENVIOUEMAIL, "),
        QStringLiteral("   PED_CLIENTE, PED_PERCENTUALFRETE, PED_DTCARREGAMENTO, PED_VALORST, PED_FILIAL, "),
        QStringLiteral("   PED_ENDERECOMAC, PED_NOMEESTACAO, PED_NROPEDIDOCLIENTE, PED_NROORDEMCOMPRA, "),
        QStringLiteral("   PED_PROPOSTACOMERCIAL, PED_NROITENS, PED_FATURADO)"),
        QStringLiteral("values"),
        QStringLiteral("  (:ORC_CODIGO, :PED_DTEMISSAO, :PED_OBS1, :PED_OBS2, :PED_OBS3, :PED_VENDEDOR, "),
        QStringLiteral("   :PED_CONDPGTO, :PED_EXPORTADO, :PED_TOTAL, :PED_CNPJ_CPF, :PED_NOMECLIENTE, "),
        QStringLiteral("   :PED_CANCELADO, :PED_DTENVIO, :PED_ENVIAEMAIL, :PED_EMAILS, :PED_ENVIOUEMAIL, "),
        QStringLiteral("   :PED_CLIENTE, :PED_PERCENTUALFRETE, :PED_DTCARREGAMENTO, :PED_VALORST, "),
        QStringLiteral("   :PED_FILIAL, :PED_ENDERECOMAC, :PED_NOMEESTACAO, :PED_NROPEDIDOCLIENTE, "),
        QStringLiteral("   :PED_NROORDEMCOMPRA, :PED_PROPOSTACOMERCIAL, :PED_NROITENS, :PED_FATURADO)"),
    };
    deriveTemplates(layout, {QStringLiteral("  ORC_CODIGO = :OLD_ORC_CODIGO")}, {QStringLiteral("  ORC_CODIGO = :ORC_CODIGO")});
    return layout;
}

std::vector<ColumnLayout> itemColumns()
{
    return {
        key("ORC_CODIGO"),              key("ITE_SEQU"),               integer("ITE_PRDCODIGO"),
        text("ITE_BARRA", 20),          number("ITE_QUANTIDADE"),      number("ITE_UNITARIO"),
        number("ITE_ST"),               number("ITE_SUBTOTAL"),        text("ITE_EXPORTADO", 1),
        text("ITE_DESCRICAO", 60),      number("ITE_LARGURA"),         number("ITE_ALTURA"),
        number("ITE_MARCO"),            text("ITE_OBSERVACAO", 30),    number("ITE_PERCENTUALST"),
        number("ITE_DESCONTO"),         number("ITE_ACRESCIMO"),       integer("NOVO_PRDCODIGO"),
        text("NOVO_PRDBARRA", 20),      text("NOVO_DESCRICAO", 60),    number("NOVO_ST"),
        number("ITE_PERDESC1"),         number("ITE_PERDESC2"),        number("ITE_PERDESC3"),
        number("ITE_PERDESC4"),         number("ITE_DESCONTOACUMULADO"), number("ITE_CUBAGEM"),
        text("ITE_REFERENCIA", 60),     number("ITE_PRECOTABELA"),     number("ITE_PERCENTUALCOMISSAO"),
        text("PROCESSOUVENDIDO", 1),
    };
}

TableLayout makeItemTableLayout()
{
    TableLayout layout;
    layout.table = QStringLiteral("PEDIDO_ITENS");
    layout.columns = itemColumns();
    layout.insertTemplate = {
        QStringLiteral("insert into PEDIDO_ITENS"),
        QStringLiteral("  (ORC_CODIGO, ITE_SEQU, ITE_PRDCODIGO, ITE_BARRA, ITE_QUANTIDADE, ITE_UNITARIO, "),
        QStringLiteral("   ITE_ST, ITE_SUBTOTAL, ITE_EXPORTADO, ITE_DESCRICAO, ITE_LARGURA, ITE_ALTURA, "),
        QStringLiteral("   ITE_MARCO, ITE_OBSERVACAO, ITE_PERCENTUALST, ITE_DESCONTO, ITE_ACRESCIMO, "),
        QStringLiteral("   NOVO_PRDCODIGO, NOVO_PRDBARRA, NOVO_DESCRICAO, NOVO_ST, ITE_PERDESC1, "),
        QStringLiteral("   ITE_PERDESC2, ITE_PERDESC3, ITE_PERDESC4, ITE_DESCONTOACUMULADO, ITE_CUBAGEM, "),
        QStringLiteral("   ITE_REFERENCIA, ITE_PRECOTABELA, ITE_PERCENTUALCOMISSAO, PROCESSOUVENDIDO)"),
        QStringLiteral("values"),
        QStringLiteral("  (:ORC_CODIGO, :ITE_SEQU, :ITE_PRDCODIGO, :ITE_BARRA, :ITE_QUANTIDADE, "),
        QStringLiteral("   :ITE_UNITARIO, :ITE_ST, :ITE_SUBTOTAL, :ITE_EXPORTADO, :ITE_DESCRICAO, "),
        QStringLiteral("   :ITE_LARGURA, :ITE_ALTURA, :ITE_MARCO, :ITE_OBSERVACAO, :ITE_PERCENTUALST, "),
        QStringLiteral("   :ITE_DESCONTO, :ITE_ACRESCIMO, :NOVO_PRDCODIGO, :NOVO_PRDBARRA, :NOVO_DESCRICAO, "),
        QStringLiteral("   :NOVO_ST, :ITE_PERDESC1, :ITE_PERDESC2, :ITE_PERDESC3, :ITE_PERDESC4, "),
        QStringLiteral("   :ITE_DESCONTOACUMULADO, :ITE_CUBAGEM, :ITE_REFERENCIA, :ITE_PRECOTABELA, "),
        QStringLiteral("   :ITE_PERCENTUALCOMISSAO, :PROCESSOUVENDIDO)"),
    };
    deriveTemplates(layout,
                    {QStringLiteral("  ORC_CODIGO = :OLD_ORC_CODIGO and"), QStringLiteral("  ITE_SEQU = :OLD_ITE_SEQU")},
                    {QStringLiteral("  ORC_CODIGO = :ORC_CODIGO and"), QStringLiteral("  ITE_SEQU = :ITE_SEQU")});
    return layout;
}

} // namespace

std::optional<std::size_t> columnIndex(const TableLayout& layout, const QString& name)
{
    for (std::size_t i = 0; i < layout.columns.size(); ++i) {
        if (layout.columns[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return std::nullopt;
}

const TableLayout& orderTableLayout()
{
    static const TableLayout layout = makeOrderTableLayout();
    return layout;
}

const TableLayout& itemTableLayout()
{
    static const TableLayout layout = makeItemTableLayout();
    return layout;
}
