-- Demo back office: three customers, the branch in Curitiba (PR), five products,
-- their NCM codes and the ICMS factors for sales from PR to SP and RJ.

INSERT INTO CLI_FOR VALUES (10, '12345678000190', 'Tarvelo Comércio Eletrônico Ltda', 7, 'SP', 1, 'compras@tarvelo.com.br');
INSERT INTO CLI_FOR VALUES (11, '98765432000110', 'Ferragens Paraná Ltda', 3, 'PR', 2, 'financeiro@ferragenspr.com.br');
INSERT INTO CLI_FOR VALUES (12, '45678912000134', 'Casa do Construtor RJ', 5, 'RJ', 1, NULL);

INSERT INTO CIDADES VALUES (4106902, 'PR');
INSERT INTO FILIAIS VALUES (1, 4106902);
INSERT INTO PARAMETROS VALUES (1, 1);

INSERT INTO PRODUTOS VALUES (1001, 'Parafuso sextavado M8 x 40 zincado', '73181500');
INSERT INTO PRODUTOS VALUES (1002, 'Porca sextavada M8 zincada', '73181600');
INSERT INTO PRODUTOS VALUES (1003, 'Arruela lisa 8 mm', '73182200');
INSERT INTO PRODUTOS VALUES (1004, 'Chave combinada 13 mm', '82041100');
INSERT INTO PRODUTOS VALUES (1005, 'Broca aço rápido 8 mm', '82075010');

INSERT INTO NCM VALUES ('73181500', 1);
INSERT INTO NCM VALUES ('73181600', 1);
INSERT INTO NCM VALUES ('73182200', 2);
INSERT INTO NCM VALUES ('82041100', 3);
INSERT INTO NCM VALUES ('82075010', 3);

-- (purchase base * purchase rate - sale base * sale rate) / 100 gives the ST rate in percent.
INSERT INTO ICMS VALUES (1, 'PR', 'SP', 1, 140.00, 18.00, 100.00, 12.00);
INSERT INTO ICMS VALUES (2, 'PR', 'SP', 1, 135.00, 18.00, 100.00, 12.00);
INSERT INTO ICMS VALUES (1, 'PR', 'RJ', 1, 140.00, 20.00, 100.00, 12.00);
-- Table 3 (tools) has no ST between these states.

SET GENERATOR ORCAMENTOS_ORC_CODIGO_GEN TO 1000;
COMMIT;
