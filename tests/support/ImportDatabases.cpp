#include "ImportDatabases.h"

#include "SideConnection.h"

ImportDatabases::ImportDatabases()
{
    SideConnection backOffice(backOfficePath());
    for (const char* sql : {
             "INSERT INTO CLI_FOR VALUES (10, '12345678000190', 'Tarvelo Comércio Eletrônico Ltda', 7, 'SP', 1, "
             "'compras@tarvelo.com.br')",
             "INSERT INTO PARAMETROS VALUES (1, 3)",
             "INSERT INTO FILIAIS VALUES (3, 100)",
             "INSERT INTO CIDADES VALUES (100, 'PR')",
             "INSERT INTO PRODUTOS VALUES (123, 'Parafuso sextavado', '7318')",
             "INSERT INTO PRODUTOS VALUES (456, 'Arruela lisa', '7319')",
             "INSERT INTO NCM VALUES ('7318', 1)",
             "INSERT INTO ICMS VALUES (1, 'PR', 'SP', 1, 140, 18, 100, 12)",
             "SET GENERATOR ORCAMENTOS_ORC_CODIGO_GEN TO 56",
         })
        backOffice.execute(QString::fromUtf8(sql));
    SideConnection(ordersPath()).execute(QStringLiteral("INSERT INTO PARAMETROS VALUES (1, 'S')"));
}
