#include "WriterTest.h"

namespace {

const QString kNoFailure = QStringLiteral("(no failure)");

// The SQL type that holds each column kind in the shipped schema.
QString sqlType(const ColumnLayout& column)
{
    switch (column.kind) {
    case ColumnKind::Integer: return QStringLiteral("INTEGER");
    case ColumnKind::Number: return QStringLiteral("DOUBLE PRECISION");
    case ColumnKind::Date: return QStringLiteral("DATE");
    case ColumnKind::DateTime: return QStringLiteral("TIMESTAMP");
    case ColumnKind::Text: return QStringLiteral("VARCHAR(%1)").arg(column.length);
    }
    return QString();
}

QString createTable(const TableLayout& layout)
{
    QStringList columns;
    for (const ColumnLayout& column : layout.columns)
        columns << column.name + u' ' + sqlType(column) + (column.key ? QStringLiteral(" NOT NULL") : QString());
    return QStringLiteral("CREATE TABLE %1 (%2);\n").arg(layout.table, columns.join(QStringLiteral(", ")));
}

// An orders connection with a transaction of its own, open on a database other than the fixture's.
struct OrdersConnection {
    OrdersConnection(FirebirdClient& client, const QString& location)
        : transaction(client)
        , orders(client, transaction)
    {
        orders.setLocation(location);
        orders.open();
    }

    Transaction transaction;
    Connection orders;
};

} // namespace

class TableWriterTest : public WriterTest {
protected:
    void startOrder(int number)
    {
        DTPedido.append();
        DTPedido.setInteger(QStringLiteral("ORC_CODIGO"), number);
    }

    void addItem(int order, int sequence, const QString& description = QString())
    {
        DTItens.append();
        DTItens.setInteger(QStringLiteral("ORC_CODIGO"), order);
        DTItens.setInteger(QStringLiteral("ITE_SEQU"), sequence);
        DTItens.setText(QStringLiteral("ITE_DESCRICAO"), description);
        DTItens.post();
        DTItens.applyUpdates();
    }

    // "order:sequence" of every committed item.
    QString committedItems()
    {
        QStringList items;
        for (const SideRow& row : committed(QStringLiteral("SELECT ORC_CODIGO, ITE_SEQU FROM PEDIDO_ITENS ORDER BY 1, 2")))
            items << *row[0] + u':' + *row[1];
        return items.join(u',');
    }

    // The texts of the statements the program's attachment holds prepared, as the server received them.
    QStringList preparedTexts()
    {
        QStringList texts;
        for (const SideRow& row : committed(QStringLiteral(
                 "SELECT CAST(SUBSTRING(MON$SQL_TEXT FROM 1 FOR 1000) AS VARCHAR(1000)), "
                 "CAST(SUBSTRING(MON$SQL_TEXT FROM 1001 FOR 1000) AS VARCHAR(1000)) FROM MON$STATEMENTS "
                 "WHERE MON$ATTACHMENT_ID <> CURRENT_CONNECTION AND MON$SQL_TEXT IS NOT NULL")))
            texts << row[0].value_or(QString()) + row[1].value_or(QString());
        texts.sort();
        return texts;
    }
};

TEST_F(TableWriterTest, OpenPreparesTheTemplatesAndKeepsOnlyWhatItRuns)
{
    alterOrders({QStringLiteral("ALTER TABLE PEDIDOS ADD PED_ORIGEM VARCHAR(10) DEFAULT 'IMPORTADO'")});
    openBoth();
    EXPECT_FALSE(DTPedido.isOpen());
    DTPedido.open();
    DTItens.open();
    EXPECT_TRUE(DTPedido.isOpen());
    EXPECT_TRUE(TR.isActive());

    const QString orderInsert = QStringLiteral(
        "insert into PEDIDOS\r\n"
        "  (ORC_CODIGO, PED_DTEMISSAO, PED_OBS1, PED_OBS2, PED_OBS3, PED_VENDEDOR, \r\n"
        "   PED_CONDPGTO, PED_EXPORTADO, PED_TOTAL, PED_CNPJ_CPF, PED_NOMECLIENTE, \r\n"
        "   PED_CANCELADO, PED_DTENVIO, PED_ENVIAEMAIL, PED_EMAILS, PED_ENVIOUEMAIL, \r\n"
        "   PED_CLIENTE, PED_PERCENTUALFRETE, PED_DTCARREGAMENTO, PED_VALORST, PED_FILIAL, \r\n"
        "   PED_ENDERECOMAC, PED_NOMEESTACAO, PED_NROPEDIDOCLIENTE, PED_NROORDEMCOMPRA, \r\n"
        "   PED_PROPOSTACOMERCIAL, PED_NROITENS, PED_FATURADO)\r\n"
        "values\r\n"
        "  (?, ?, ?, ?, ?, ?, \r\n"
        "   ?, ?, ?, ?, ?, \r\n"
        "   ?, ?, ?, ?, ?, \r\n"
        "   ?, ?, ?, ?, \r\n"
        "   ?, ?, ?, ?, \r\n"
        "   ?, ?, ?, ?)\r\n");
    const QString itemInsert = QStringLiteral(
        "insert into PEDIDO_ITENS\r\n"
        "  (ORC_CODIGO, ITE_SEQU, ITE_PRDCODIGO, ITE_BARRA, ITE_QUANTIDADE, ITE_UNITARIO, \r\n"
        "   ITE_ST, ITE_SUBTOTAL, ITE_EXPORTADO, ITE_DESCRICAO, ITE_LARGURA, ITE_ALTURA, \r\n"
        "   ITE_MARCO, ITE_OBSERVACAO, ITE_PERCENTUALST, ITE_DESCONTO, ITE_ACRESCIMO, \r\n"
        "   NOVO_PRDCODIGO, NOVO_PRDBARRA, NOVO_DESCRICAO, NOVO_ST, ITE_PERDESC1, \r\n"
        "   ITE_PERDESC2, ITE_PERDESC3, ITE_PERDESC4, ITE_DESCONTOACUMULADO, ITE_CUBAGEM, \r\n"
        "   ITE_REFERENCIA, ITE_PRECOTABELA, ITE_PERCENTUALCOMISSAO, PROCESSOUVENDIDO)\r\n"
        "values\r\n"
        "  (?, ?, ?, ?, ?, \r\n"
        "   ?, ?, ?, ?, ?, \r\n"
        "   ?, ?, ?, ?, ?, \r\n"
        "   ?, ?, ?, ?, ?, \r\n"
        "   ?, ?, ?, ?, ?, \r\n"
        "   ?, ?, ?, ?, \r\n"
        "   ?, ?)\r\n");
    // PEDIDOS has a default, so its refresh stays prepared; PEDIDO_ITENS has none.
    const QStringList texts = preparedTexts();
    ASSERT_EQ(texts.size(), 3) << texts.join(QStringLiteral("\n----\n")).toStdString();
    EXPECT_TRUE(texts[0].startsWith(QStringLiteral("Select \r\n  ORC_CODIGO,\r\n  PED_DTEMISSAO,\r\n")));
    EXPECT_TRUE(texts[0].endsWith(QStringLiteral("  PED_FATURADO\r\nfrom PEDIDOS \r\nwhere\r\n  ORC_CODIGO = ?\r\n")));
    EXPECT_EQ(texts[1], orderInsert);
    EXPECT_EQ(texts[2], itemInsert);

    DTPedido.open();
    EXPECT_EQ(preparedTexts().size(), 3) << "opening an open writer prepares nothing";
}

TEST_F(TableWriterTest, OpenRefusesATableWhoseColumnsDoNotFit)
{
    struct Case {
        QStringList changes;
        QString failure;
    };
    const Case cases[] = {
        {{QStringLiteral("ALTER TABLE PEDIDOS DROP PED_FATURADO")}, QStringLiteral("Field 'PED_FATURADO' not found")},
        {{QStringLiteral("ALTER TABLE PEDIDOS DROP PED_TOTAL"), QStringLiteral("ALTER TABLE PEDIDOS ADD PED_TOTAL NUMERIC(15,2)")},
         QStringLiteral("Type mismatch for field 'PED_TOTAL', expecting: Float actual: BCD")},
        {{QStringLiteral("ALTER TABLE PEDIDOS DROP PED_VENDEDOR"), QStringLiteral("ALTER TABLE PEDIDOS ADD PED_VENDEDOR BIGINT")},
         QStringLiteral("Type mismatch for field 'PED_VENDEDOR', expecting: Integer actual: Largeint")},
        {{QStringLiteral("ALTER TABLE PEDIDOS DROP PED_DTENVIO"), QStringLiteral("ALTER TABLE PEDIDOS ADD PED_DTENVIO DATE")},
         QStringLiteral("Type mismatch for field 'PED_DTENVIO', expecting: DateTime actual: Date")},
        {{QStringLiteral("ALTER TABLE PEDIDOS DROP PED_OBS1"), QStringLiteral("ALTER TABLE PEDIDOS ADD PED_OBS1 SMALLINT")},
         QStringLiteral("Type mismatch for field 'PED_OBS1', expecting: String actual: Smallint")},
        {{QStringLiteral("ALTER TABLE PEDIDOS DROP PED_DTEMISSAO"),
          QStringLiteral("ALTER TABLE PEDIDOS ADD PED_DTEMISSAO TIME")},
         QStringLiteral("Type mismatch for field 'PED_DTEMISSAO', expecting: Date actual: Time")},
        {{QStringLiteral("DROP TABLE PEDIDOS")},
         QStringLiteral("Dynamic SQL Error\r\nSQL error code = -204\r\nTable unknown\r\nPEDIDOS\r\nAt line 1, column 15")},
    };
    for (const Case& c : cases) {
        FirebirdFixture fresh;
        {
            SideConnection side(fresh.ordersPath());
            for (const QString& change : c.changes)
                side.execute(change);
        }
        OrdersConnection own(client, fresh.ordersPath());
        TableWriter writer(own.orders, orderTableLayout(), regional);
        EXPECT_EQ(failureOf([&] { writer.open(); }), c.failure);
        EXPECT_FALSE(writer.isOpen());
    }
}

TEST_F(TableWriterTest, FailedOpenLeavesTheWriterClosedAndTheNextOpenTriesAgain)
{
    alterOrders({QStringLiteral("ALTER TABLE PEDIDOS DROP PED_FATURADO")});
    openBoth();
    EXPECT_EQ(failureOf([&] { DTPedido.open(); }), QStringLiteral("Field 'PED_FATURADO' not found"));
    EXPECT_EQ(failureOf([&] { DTPedido.append(); }), QStringLiteral("Cannot perform this operation on a closed dataset"));

    alterOrders({QStringLiteral("ALTER TABLE PEDIDOS ADD PED_FATURADO VARCHAR(1)")});
    DTPedido.open();
    EXPECT_TRUE(DTPedido.isOpen());
}

TEST_F(TableWriterTest, TemplateTheAccountMayNotRunIsLeftOutAndOnlyThatKind)
{
    struct Case {
        const char* granted;
        QString openFailure;
        QString setFailure;
        QString stored;
    };
    const Case cases[] = {
        {"SELECT", kNoFailure, QStringLiteral("Cannot insert into dataset. (No insert query)"), QString()},
        {"SELECT, INSERT", kNoFailure, kNoFailure, QStringLiteral("1")},
        {"SELECT, INSERT, UPDATE, DELETE", kNoFailure, kNoFailure, QStringLiteral("1")},
        {"INSERT", QStringLiteral("no permission for SELECT access to TABLE PEDIDOS"), QString(), QString()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.granted);
        const QString path = databases.createDatabase(
            QStringLiteral("foreign-%1.fdb").arg(QString::fromLatin1(c.granted).remove(u' ').replace(u',', u'-')),
            createTable(orderTableLayout())
                + QStringLiteral("COMMIT;\nGRANT %1 ON PEDIDOS TO KALVE;\n").arg(QString::fromLatin1(c.granted)),
            3, QStringLiteral("DONO"));
        OrdersConnection own(client, path);
        TableWriter writer(own.orders, orderTableLayout(), regional);
        EXPECT_EQ(failureOf([&] { writer.open(); }), c.openFailure);
        if (!writer.isOpen())
            continue;
        writer.append();
        EXPECT_EQ(failureOf([&] { writer.setInteger(QStringLiteral("ORC_CODIGO"), 1); }), c.setFailure);
        if (c.setFailure != kNoFailure)
            continue;
        writer.applyUpdates();
        own.transaction.commitRetaining();
        SideConnection side(path);
        EXPECT_EQ(side.value(QStringLiteral("SELECT COUNT(*) FROM PEDIDOS")), c.stored);
    }
}

TEST_F(TableWriterTest, EveryColumnReachesTheTableColumnOfItsName)
{
    openBoth();
    for (TableWriter* writer : {&DTPedido, &DTItens}) {
        const TableLayout& layout = writer == &DTPedido ? orderTableLayout() : itemTableLayout();
        SCOPED_TRACE(layout.table.toStdString());
        writer->open();
        writer->append();
        QStringList readBack;
        SideRow expected;
        for (std::size_t i = 0; i < layout.columns.size(); ++i) {
            const ColumnLayout& column = layout.columns[i];
            const int distinct = static_cast<int>(i) + 1;
            switch (column.kind) {
            case ColumnKind::Integer:
                writer->setInteger(column.name, 1000 + distinct);
                readBack << QStringLiteral("CAST(%1 AS VARCHAR(20))").arg(column.name);
                expected.push_back(QString::number(1000 + distinct));
                break;
            case ColumnKind::Number:
                writer->setNumber(column.name, distinct + 0.25);
                readBack << QStringLiteral("CAST(%1 * 100 AS INTEGER)").arg(column.name);
                expected.push_back(QString::number(distinct * 100 + 25));
                break;
            case ColumnKind::Date:
                writer->setText(column.name, QStringLiteral("%1/01/2024").arg(distinct, 2, 10, QLatin1Char('0')));
                readBack << column.name;
                expected.push_back(QStringLiteral("2024-01-%1").arg(distinct, 2, 10, QLatin1Char('0')));
                break;
            case ColumnKind::DateTime:
                writer->setText(column.name, QStringLiteral("15/03/2024 10:%1:00").arg(distinct, 2, 10, QLatin1Char('0')));
                readBack << QStringLiteral("CAST(%1 AS VARCHAR(24))").arg(column.name);
                expected.push_back(QStringLiteral("2024-03-15 10:%1:00.0000").arg(distinct, 2, 10, QLatin1Char('0')));
                break;
            case ColumnKind::Text:
                writer->setText(column.name, QChar(u'A' + distinct) + column.name);
                readBack << column.name;
                expected.push_back((QChar(u'A' + distinct) + column.name).left(column.length));
                break;
            }
        }
        writer->post();
        writer->applyUpdates();
        TR.commitRetaining();
        const auto rows = committed(QStringLiteral("SELECT %1 FROM %2").arg(readBack.join(QStringLiteral(", ")), layout.table));
        ASSERT_EQ(rows.size(), 1u);
        for (std::size_t i = 0; i < expected.size(); ++i)
            EXPECT_EQ(rows[0][i], expected[i]) << layout.columns[i].name.toStdString();
    }
}

TEST_F(TableWriterTest, RowStateErrors)
{
    openBoth();
    const QString closed = QStringLiteral("Cannot perform this operation on a closed dataset");
    EXPECT_EQ(failureOf([&] { DTItens.append(); }), closed);
    EXPECT_EQ(failureOf([&] { DTItens.applyUpdates(); }), closed);
    EXPECT_EQ(failureOf([&] { DTItens.text(QStringLiteral("ITE_SEQU")); }), closed);
    DTItens.discardChanges();

    DTItens.open();
    const QString notEditing = QStringLiteral("Dataset not in edit or insert mode");
    EXPECT_EQ(failureOf([&] { DTItens.setInteger(QStringLiteral("ITE_SEQU"), 1); }), notEditing);
    EXPECT_EQ(failureOf([&] { DTItens.post(); }), notEditing);
    EXPECT_EQ(DTItens.text(QStringLiteral("ITE_SEQU")), QString()) << "nothing written yet";
    EXPECT_NO_THROW(DTItens.applyUpdates()) << "nothing to send";
}

TEST_F(TableWriterTest, PostNeedsEveryKeyColumnAndKeepsTheRowBeingEdited)
{
    openBoth();
    DTItens.open();
    DTItens.append();
    EXPECT_EQ(failureOf([&] { DTItens.post(); }), QStringLiteral("Field 'ORC_CODIGO' must have a value"));
    DTItens.setInteger(QStringLiteral("ORC_CODIGO"), 57);
    DTItens.setText(QStringLiteral("ITE_DESCRICAO"), QStringLiteral("Cadeira"));
    EXPECT_EQ(failureOf([&] { DTItens.post(); }), QStringLiteral("Field 'ITE_SEQU' must have a value"));
    DTItens.setInteger(QStringLiteral("ITE_SEQU"), 1);
    DTItens.post();
    EXPECT_EQ(DTItens.text(QStringLiteral("ITE_DESCRICAO")), QStringLiteral("Cadeira"));
    EXPECT_EQ(committedItems(), QString()) << "posting sends nothing";
    DTItens.applyUpdates();
    TR.commitRetaining();
    EXPECT_EQ(committedItems(), QStringLiteral("57:1"));
}

TEST_F(TableWriterTest, StartingANewRowPostsTheOneBeingEdited)
{
    openBoth();
    DTItens.open();
    for (int sequence = 1; sequence <= 2; ++sequence) {
        DTItens.append();
        DTItens.setInteger(QStringLiteral("ORC_CODIGO"), 57);
        DTItens.setInteger(QStringLiteral("ITE_SEQU"), sequence);
    }
    DTItens.append();
    EXPECT_EQ(failureOf([&] { DTItens.append(); }), QStringLiteral("Field 'ORC_CODIGO' must have a value"))
        << "a row without its keys stays the row being edited";
    DTItens.setInteger(QStringLiteral("ORC_CODIGO"), 57);
    DTItens.setInteger(QStringLiteral("ITE_SEQU"), 3);
    DTItens.applyUpdates();
    TR.commitRetaining();
    EXPECT_EQ(committedItems(), QStringLiteral("57:1,57:2,57:3"));
}

TEST_F(TableWriterTest, AppliedRowIsInTheTransactionUntilCommitRetaining)
{
    openBoth();
    DTPedido.open();
    startOrder(57);
    DTPedido.setText(QStringLiteral("PED_EMAILS"), QStringLiteral("compras@example.com"));
    // Applying posts the row being edited first.
    DTPedido.applyUpdates();
    EXPECT_EQ(DTPedido.text(QStringLiteral("PED_EMAILS")), QStringLiteral("compras@example.com"));
    EXPECT_EQ(DTPedido.integer(QStringLiteral("ORC_CODIGO")), 57);
    EXPECT_TRUE(committed(QStringLiteral("SELECT ORC_CODIGO FROM PEDIDOS")).empty());

    TR.commitRetaining();
    EXPECT_EQ(committed(QStringLiteral("SELECT ORC_CODIGO, PED_EMAILS FROM PEDIDOS")),
              (std::vector<SideRow>{{QStringLiteral("57"), QStringLiteral("compras@example.com")}}));
    EXPECT_EQ(DTPedido.text(QStringLiteral("PED_EMAILS")), QStringLiteral("compras@example.com"));

    startOrder(58);
    DTPedido.applyUpdates();
    TR.commitRetaining();
    EXPECT_EQ(committed(QStringLiteral("SELECT COUNT(*) FROM PEDIDOS")), (std::vector<SideRow>{{QStringLiteral("2")}}));
}

TEST_F(TableWriterTest, RefusedInsertKeepsTheRowPendingAndLeavesNothingInTheTransaction)
{
    alterOrders({
        QStringLiteral("INSERT INTO PEDIDO_ITENS (ORC_CODIGO, ITE_SEQU) VALUES (57, 2)"),
        QStringLiteral("CREATE TABLE INSERTS_SEEN (ORC_CODIGO INTEGER, ITE_SEQU INTEGER)"),
        QStringLiteral("CREATE TRIGGER NOTE_INSERT FOR PEDIDO_ITENS BEFORE INSERT AS BEGIN "
                       "INSERT INTO INSERTS_SEEN VALUES (NEW.ORC_CODIGO, NEW.ITE_SEQU); END"),
    });
    openBoth();
    DTItens.open();
    addItem(57, 1);
    DTItens.append();
    DTItens.setInteger(QStringLiteral("ORC_CODIGO"), 57);
    DTItens.setInteger(QStringLiteral("ITE_SEQU"), 2);
    DTItens.setText(QStringLiteral("ITE_DESCRICAO"), QStringLiteral("segunda"));
    DTItens.post();
    const QString failure = failureOf([&] { DTItens.applyUpdates(); });
    EXPECT_TRUE(failure.startsWith(QStringLiteral("violation of PRIMARY or UNIQUE KEY constraint"))) << failure.toStdString();
    EXPECT_FALSE(failure.endsWith(u'.'));
    EXPECT_EQ(DTItens.text(QStringLiteral("ITE_DESCRICAO")), QStringLiteral("segunda")) << "still the current row";

    TR.commitRetaining();
    EXPECT_EQ(committedItems(), QStringLiteral("57:1,57:2"));
    EXPECT_EQ(committed(QStringLiteral("SELECT ORC_CODIGO, ITE_SEQU FROM INSERTS_SEEN")),
              (std::vector<SideRow>{{QStringLiteral("57"), QStringLiteral("1")}}))
        << "the refused statement left nothing behind";

    // The row is still pending: once the key is free, the next apply sends it.
    alterOrders({QStringLiteral("DELETE FROM PEDIDO_ITENS WHERE ITE_SEQU = 2")});
    DTItens.applyUpdates();
    TR.commitRetaining();
    EXPECT_EQ(committed(QStringLiteral("SELECT ITE_DESCRICAO FROM PEDIDO_ITENS WHERE ITE_SEQU = 2")),
              (std::vector<SideRow>{{QStringLiteral("segunda")}}));
}

TEST_F(TableWriterTest, DiscardedRowsOfAnInterruptedOrderNeverReachTheDatabase)
{
    alterOrders({QStringLiteral("INSERT INTO PEDIDO_ITENS (ORC_CODIGO, ITE_SEQU) VALUES (57, 3)")});
    openBoth();
    DTPedido.open();
    DTItens.open();
    startOrder(57);
    addItem(57, 1);
    DTItens.append();
    DTItens.setInteger(QStringLiteral("ORC_CODIGO"), 57);
    DTItens.setInteger(QStringLiteral("ITE_SEQU"), 2);
    DTItens.post();
    DTItens.append();
    DTItens.setInteger(QStringLiteral("ORC_CODIGO"), 57);
    DTItens.setInteger(QStringLiteral("ITE_SEQU"), 3);
    EXPECT_FALSE(failureOf([&] { DTItens.applyUpdates(); }).isEmpty());

    // What the import does when an order fails half-way.
    DTPedido.discardChanges();
    DTItens.discardChanges();
    TR.rollbackRetaining();

    EXPECT_TRUE(DTItens.isOpen());
    startOrder(58);
    addItem(58, 1);
    DTPedido.post();
    DTPedido.applyUpdates();
    DTItens.applyUpdates();
    TR.commitRetaining();
    EXPECT_EQ(committedItems(), QStringLiteral("57:3,58:1"));
    EXPECT_EQ(committed(QStringLiteral("SELECT ORC_CODIGO FROM PEDIDOS")), (std::vector<SideRow>{{QStringLiteral("58")}}));
}

TEST_F(TableWriterTest, AppliedRowIsReadBackOnlyWhenTheTableHasADefaultOrComputedColumn)
{
    struct Case {
        const char* name;
        QStringList changes;
        bool refreshes;
    };
    const Case cases[] = {
        {"triggers only", {}, false},
        {"column default", {QStringLiteral("ALTER TABLE PEDIDOS ADD PED_ORIGEM VARCHAR(10) DEFAULT 'IMPORTADO'")}, true},
        {"domain default",
         {QStringLiteral("CREATE DOMAIN SIM_NAO AS CHAR(1) DEFAULT 'N'"), QStringLiteral("ALTER TABLE PEDIDOS ADD PED_FLAG SIM_NAO")},
         true},
        {"computed column", {QStringLiteral("ALTER TABLE PEDIDOS ADD PED_DOBRO COMPUTED BY (PED_TOTAL * 2)")}, true},
        {"default elsewhere", {QStringLiteral("ALTER TABLE PEDIDO_ITENS ADD ITE_ORIGEM VARCHAR(10) DEFAULT 'X'")}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FirebirdFixture fresh;
        {
            SideConnection side(fresh.ordersPath());
            // A CHAR column comes back padded; the writer reads it without the blanks.
            side.execute(QStringLiteral("ALTER TABLE PEDIDOS DROP PED_NOMEESTACAO"));
            side.execute(QStringLiteral("ALTER TABLE PEDIDOS ADD PED_NOMEESTACAO CHAR(40)"));
            side.execute(QStringLiteral(
                "CREATE TRIGGER STORE_ORDER FOR PEDIDOS BEFORE INSERT AS BEGIN "
                "NEW.PED_EMAILS = UPPER(NEW.PED_EMAILS); NEW.PED_TOTAL = NEW.PED_TOTAL * 2; "
                "NEW.PED_VENDEDOR = NEW.PED_VENDEDOR + 1; NEW.PED_DTEMISSAO = NEW.PED_DTEMISSAO + 1; "
                "NEW.PED_DTENVIO = NEW.PED_DTENVIO + 1; NEW.PED_OBS2 = 'gravado'; END"));
            for (const QString& change : c.changes)
                side.execute(change);
        }
        OrdersConnection own(client, fresh.ordersPath());
        TableWriter writer(own.orders, orderTableLayout(), regional);
        writer.open();
        writer.append();
        writer.setInteger(QStringLiteral("ORC_CODIGO"), 57);
        writer.setText(QStringLiteral("PED_EMAILS"), QStringLiteral("a@b.com"));
        writer.setText(QStringLiteral("PED_TOTAL"), QStringLiteral("2,5"));
        writer.setText(QStringLiteral("PED_VENDEDOR"), QStringLiteral("7"));
        writer.setText(QStringLiteral("PED_DTEMISSAO"), QStringLiteral("15/03/2024"));
        writer.setText(QStringLiteral("PED_DTENVIO"), QStringLiteral("15/03/2024 14:05:09"));
        writer.setText(QStringLiteral("PED_NOMEESTACAO"), QStringLiteral("SERVIDOR"));
        writer.post();
        writer.applyUpdates();

        const QStringList columns{QStringLiteral("PED_EMAILS"),    QStringLiteral("PED_TOTAL"),   QStringLiteral("PED_VENDEDOR"),
                                  QStringLiteral("PED_DTEMISSAO"), QStringLiteral("PED_DTENVIO"), QStringLiteral("PED_OBS2"),
                                  QStringLiteral("PED_NOMEESTACAO")};
        QStringList values;
        for (const QString& column : columns)
            values << writer.text(column);
        const QStringList stored{QStringLiteral("A@B.COM"),    QStringLiteral("5"),
                                 QStringLiteral("8"),          QStringLiteral("16/03/2024"),
                                 QStringLiteral("16/03/2024 14:05:09"), QStringLiteral("gravado"),
                                 QStringLiteral("SERVIDOR")};
        const QStringList asSet{QStringLiteral("a@b.com"),    QStringLiteral("2,5"), QStringLiteral("7"),
                                QStringLiteral("15/03/2024"), QStringLiteral("15/03/2024 14:05:09"), QString(),
                                QStringLiteral("SERVIDOR")};
        EXPECT_EQ(values, c.refreshes ? stored : asSet);
    }
}
