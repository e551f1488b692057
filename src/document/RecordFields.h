#pragma once

// Where each field of the header, order and item records stands: the order of the
// field declarations that the transformation file writes (TransformationFile.cpp).
// Code reads fields by these names, never by bare numbers, so a change of the
// declarations shows in one place and in the test that holds these against them.
namespace HeaderField {
enum Position : int { Versao, Nome, Cnpj, Pedido };
}

namespace OrderField {
enum Position : int { OrdemDeCompra, ObservacoesNf, TipoOrdem, PedidoOriginal, TotalPedido, Item };
}

namespace ItemField {
enum Position : int { IdProduto, CodigoProduto, Descricao, Quantidade, ValorUnitario, ValorTotal };
}
