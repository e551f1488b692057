#include "TransformationFile.h"

#include "Error.h"
#include "FileDescriptor.h"
#include "IoError.h"

#include <QFile>

#include <cerrno>

#include <fcntl.h>

namespace {

// Indentation of a line: tabs everywhere except the schema, which is indented with spaces.
constexpr const char* kNone = "";
constexpr const char* kTab1 = "\t";
constexpr const char* kTab2 = "\t\t";
constexpr const char* kTab3 = "\t\t\t";
constexpr const char* kTab4 = "\t\t\t\t";
constexpr const char* kTab5 = "\t\t\t\t\t";
constexpr const char* kTab6 = "\t\t\t\t\t\t";
constexpr const char* kSpace2 = "  ";
constexpr const char* kSpace4 = "    ";
constexpr const char* kSpace6 = "      ";

struct Line {
    const char* indent;
    const char* text;
};

// clang-format off
constexpr Line kLines[] = {
    {kNone,   R"()"},
    {kNone,   R"(<XmlTransformation Version="1.0">)"},
    {kNone,   R"(<Transform Direction="ToCds" DataEncoding="utf-8">)"},
    {kTab1,   R"(<SelectEach dest="DATAPACKET\ROWDATA\ROW" from="\root">)"},
    {kTab2,   R"(<Select dest="@versao" from="\info\versao"/>)"},
    {kTab2,   R"(<Select dest="@nome" from="\info\nome"/>)"},
    {kTab2,   R"(<Select dest="@cnpj" from="\info\cnpj"/>)"},
    {kTab3,   R"(<SelectEach dest="pedido\ROWpedido" from="\pedidos\pedido">)"},
    {kTab4,   R"(<Select dest="@ordem_de_compra" from="\ordem_de_compra"/>)"},
    {kTab4,   R"(<Select dest="@observacoes_nf" from="\observacoes_nf"/>)"},
    {kTab4,   R"(<Select dest="@tipo_ordem" from="\tipo_ordem"/>)"},
    {kTab4,   R"(<Select dest="@pedido_original" from="\pedido_original"/>)"},
    {kTab4,   R"(<Select dest="@total_pedido" from="\total_pedido"/>)"},
    {kTab5,   R"(<SelectEach dest="item\ROWitem" from="\itens\item">)"},
    {kTab6,   R"(<Select dest="@id_produto" from="\id_produto"/>)"},
    {kTab6,   R"(<Select dest="@codigo_produto" from="\codigo_produto"/>)"},
    {kTab6,   R"(<Select dest="@descricao" from="\descricao"/>)"},
    {kTab6,   R"(<Select dest="@quantidade" from="\quantidade"/>)"},
    {kTab6,   R"(<Select dest="@valor_unitario" from="\valor_unitario"/>)"},
    {kTab6,   R"(<Select dest="@valor_total" from="\valor_total"/>)"},
    {kTab5,   R"(</SelectEach>)"},
    {kTab3,   R"(</SelectEach>)"},
    {kTab1,   R"(</SelectEach>)"},
    {kNone,   R"(</Transform>)"},
    {kNone,   R"(<XmlSchema RootName="root">)"},
    {kNone,   R"(<![CDATA[<xs:schema xmlns:xs="http://www.w3.org/2001/XMLSchema">)"},
    {kSpace2, R"(<xs:element name="root" type="rnotType"/>)"},
    {kSpace2, R"(<xs:complexType name="rootType">)"},
    {kSpace4, R"(<xs:sequence>)"},
    {kSpace6, R"(<xs:element name="info" type="infoType"/>)"},
    {kSpace6, R"(<xs:element name="pedidos" type="pedidosType"/>)"},
    {kSpace4, R"(</xs:sequence>)"},
    {kSpace2, R"(</xs:complexType>)"},
    {kSpace2, R"(<xs:element name="info" type="infoType"/>)"},
    {kSpace2, R"(<xs:complexType name="infoType">)"},
    {kSpace4, R"(<xs:sequence>)"},
    {kSpace6, R"(<xs:element name="versao" type="versaoType"/>)"},
    {kSpace6, R"(<xs:element name="nome" type="nomeType"/>)"},
    {kSpace6, R"(<xs:element name="cnpj" type="cnpjType"/>)"},
    {kSpace4, R"(</xs:sequence>)"},
    {kSpace2, R"(</xs:complexType>)"},
    {kSpace2, R"(<xs:element name="versao" type="versaoType"/>)"},
    {kSpace2, R"(<xs:simpleType name="versaoType">)"},
    {kSpace4, R"(<xs:restriction base="xs:string"/>)"},
    {kSpace2, R"(</xs:simpleType>)"},
    {kSpace2, R"(<xs:element name="nome" type="nomeType"/>)"},
    {kSpace2, R"(<xs:simpleType name="nomeType">)"},
    {kSpace4, R"(<xs:restriction base="xs:string"/>)"},
    {kSpace2, R"(</xs:simpleType>)"},
    {kSpace2, R"(<xs:element name="cnpj" type="cnpjType"/>)"},
    {kSpace2, R"(<xs:simpleType name="cnpjType">)"},
    {kSpace4, R"(<xs:restriction base="xs:string"/>)"},
    {kSpace2, R"(</xs:simpleType>)"},
    {kSpace2, R"(<xs:element name="pedidos" type="pedidosType"/>)"},
    {kSpace2, R"(<xs:complexType name="pedidosType">)"},
    {kSpace4, R"(<xs:sequence>)"},
    {kSpace6, R"(<xs:element name="pedido" type="pedidoType" minOccurs="0" maxOccurs="unbounded"/>)"},
    {kSpace4, R"(</xs:sequence>)"},
    {kSpace2, R"(</xs:complexType>)"},
    {kSpace2, R"(<xs:element name="pedido" type="pedidoType"/>)"},
    {kSpace2, R"(<xs:complexType name="pedidoType">)"},
    {kSpace4, R"(<xs:sequence>)"},
    {kSpace6, R"(<xs:element name="ordem_de_compra" type="ordem_de_compraType"/>)"},
    {kSpace6, R"(<xs:element name="observacoes_nf" type="observacoes_nfType"/>)"},
    {kSpace6, R"(<xs:element name="tipo_ordem" type="tipo_ordemType"/>)"},
    {kSpace6, R"(<xs:element name="pedido_original" type="pedido_originalType"/>)"},
    {kSpace6, R"(<xs:element name="total_pedido" type="total_pedidoType"/>)"},
    {kSpace6, R"(<xs:element name="itens" type="itensType"/>)"},
    {kSpace4, R"(</xs:sequence>)"},
    {kSpace2, R"(</xs:complexType>)"},
    {kSpace2, R"(<xs:element name="ordem_de_compra" type="ordem_de_compraType"/>)"},
    {kSpace2, R"(<xs:simpleType name="ordem_de_compraType">)"},
    {kSpace4, R"(<xs:restriction base="xs:string"/>)"},
    {kSpace2, R"(</xs:simpleType>)"},
    {kSpace2, R"(<xs:element name="observacoes_nf" type="observacoes_nfType"/>)"},
    {kSpace2, R"(<xs:simpleType name="observacoes_nfType">)"},
    {kSpace4, R"(<xs:restriction base="xs:string"/>)"},
    {kSpace2, R"(</xs:simpleType>)"},
    {kSpace2, R"(<xs:element name="tipo_ordem" type="tipo_ordemType"/>)"},
    {kSpace2, R"(<xs:simpleType name="tipo_ordemType">)"},
    {kSpace4, R"(<xs:restriction base="xs:string"/>)"},
    {kSpace2, R"(</xs:simpleType>)"},
    {kSpace2, R"(<xs:element name="pedido_original" type="pedido_originalType"/>)"},
    {kSpace2, R"(<xs:simpleType name="pedido_originalType">)"},
    {kSpace4, R"(<xs:restriction base="xs:string"/>)"},
    {kSpace2, R"(</xs:simpleType>)"},
    {kSpace2, R"(<xs:element name="total_pedido" type="total_pedidoType"/>)"},
    {kSpace2, R"(<xs:simpleType name="total_pedidoType">)"},
    {kSpace4, R"(<xs:restriction base="xs:string"/>)"},
    {kSpace2, R"(</xs:simpleType>)"},
    {kSpace2, R"(<xs:element name="itens" type="itensType"/>)"},
    {kSpace2, R"(<xs:complexType name="itensType">)"},
    {kSpace4, R"(<xs:sequence>)"},
    {kSpace6, R"(<xs:element name="item" type="itemType" minOccurs="0" maxOccurs="unbounded"/>)"},
    {kSpace4, R"(</xs:sequence>)"},
    {kSpace2, R"(</xs:complexType>)"},
    {kSpace2, R"(<xs:element name="item" type="itemType"/>)"},
    {kSpace2, R"(<xs:complexType name="itemType">)"},
    {kSpace4, R"(<xs:sequence>)"},
    {kSpace6, R"(<xs:element name="id_produto" type="id_produtoType"/>)"},
    {kSpace6, R"(<xs:element name="codigo_produto" type="codigo_produtoType"/>)"},
    {kSpace6, R"(<xs:element name="descricao" type="descricaoType"/>)"},
    {kSpace6, R"(<xs:element name="quantidade" type="quantidadeType"/>)"},
    {kSpace6, R"(<xs:element name="valor_unitario" type="valor_unitarioType"/>)"},
    {kSpace6, R"(<xs:element name="valor_total" type="valor_totalType"/>)"},
    {kSpace4, R"(</xs:sequence>)"},
    {kSpace2, R"(</xs:complexType>)"},
    {kSpace2, R"(<xs:element name="id_produto" type="id_produtoType"/>)"},
    {kSpace2, R"(<xs:simpleType name="id_produtoType">)"},
    {kSpace4, R"(<xs:restriction base="xs:string"/>)"},
    {kSpace2, R"(</xs:simpleType>)"},
    {kSpace2, R"(<xs:element name="codigo_produto" type="codigo_produtoType"/>)"},
    {kSpace2, R"(<xs:simpleType name="codigo_produtoType">)"},
    {kSpace4, R"(<xs:restriction base="xs:string"/>)"},
    {kSpace2, R"(</xs:simpleType>)"},
    {kSpace2, R"(<xs:element name="descricao" type="descricaoType"/>)"},
    {kSpace2, R"(<xs:simpleType name="descricaoType">)"},
    {kSpace4, R"(<xs:restriction base="xs:string"/>)"},
    {kSpace2, R"(</xs:simpleType>)"},
    {kSpace2, R"(<xs:element name="quantidade" type="quantidadeType"/>)"},
    {kSpace2, R"(<xs:simpleType name="quantidadeType">)"},
    {kSpace4, R"(<xs:restriction base="xs:string"/>)"},
    {kSpace2, R"(</xs:simpleType>)"},
    {kSpace2, R"(<xs:element name="valor_unitario" type="valor_unitarioType"/>)"},
    {kSpace2, R"(<xs:simpleType name="valor_unitarioType">)"},
    {kSpace4, R"(<xs:restriction base="xs:string"/>)"},
    {kSpace2, R"(</xs:simpleType>)"},
    {kSpace2, R"(<xs:element name="valor_total" type="valor_totalType"/>)"},
    {kSpace2, R"(<xs:simpleType name="valor_totalType">)"},
    {kSpace4, R"(<xs:restriction base="xs:string"/>)"},
    {kSpace2, R"(</xs:simpleType>)"},
    {kNone,   R"(</xs:schema>]]>)"},
    {kNone,   R"(</XmlSchema>)"},
    {kNone,   R"(<CdsSkeleton/>)"},
    {kNone,   R"(<XslTransform/>)"},
    {kNone,   R"(<Skeleton>)"},
    {kNone,   R"(<![CDATA[<?xml version="1.0"?>)"},
    {kNone,   R"(<DATAPACKET Version="2.0">)"},
    {kNone,   R"(<METADATA>)"},
    {kNone,   R"(<FIELDS>)"},
    {kTab1,   R"(<FIELD attrname="versao" fieldtype="string" WIDTH="5"/>)"},
    {kTab1,   R"(<FIELD attrname="nome" fieldtype="string" WIDTH="25"/>)"},
    {kTab1,   R"(<FIELD attrname="cnpj" fieldtype="string" WIDTH="18"/>)"},
    {kTab1,   R"(<FIELD attrname="pedido" fieldtype="nested">)"},
    {kTab1,   R"(<FIELDS>)"},
    {kTab2,   R"(<FIELD attrname="ordem_de_compra" fieldtype="string" WIDTH="10"/>)"},
    {kTab2,   R"(<FIELD attrname="observacoes_nf" fieldtype="string" WIDTH="70"/>)"},
    {kTab2,   R"(<FIELD attrname="tipo_ordem" fieldtype="string" WIDTH="1"/>)"},
    {kTab2,   R"(<FIELD attrname="pedido_original" fieldtype="string" WIDTH="40"/>)"},
    {kTab2,   R"(<FIELD attrname="total_pedido" fieldtype="string" WIDTH="20"/>)"},
    {kTab2,   R"(<FIELD attrname="item" fieldtype="nested">)"},
    {kTab2,   R"(<FIELDS>)"},
    {kTab3,   R"(<FIELD attrname="id_produto" fieldtype="string" WIDTH="10"/>)"},
    {kTab3,   R"(<FIELD attrname="codigo_produto" fieldtype="string" WIDTH="10"/>)"},
    {kTab3,   R"(<FIELD attrname="descricao" fieldtype="string" WIDTH="250"/>)"},
    {kTab3,   R"(<FIELD attrname="quantidade" fieldtype="string" WIDTH="10"/>)"},
    {kTab3,   R"(<FIELD attrname="valor_unitario" fieldtype="string" WIDTH="20"/>)"},
    {kTab3,   R"(<FIELD attrname="valor_total" fieldtype="string" WIDTH="20"/>)"},
    {kTab2,   R"(</FIELDS><PARAMS/>)"},
    {kTab1,   R"(</FIELD>)"},
    {kNone,   R"(</FIELDS>)"},
    {kNone,   R"(<PARAMS/>)"},
    {kNone,   R"(</FIELD></FIELDS><PARAMS/>)"},
    {kNone,   R"(</METADATA><ROWDATA/>)"},
    {kNone,   R"(<METADATA>)"},
    {kTab1,   R"(<FIELDS>)"},
    {kTab2,   R"(<FIELD attrname="versao" fieldtype="string" WIDTH="5"/>)"},
    {kTab2,   R"(<FIELD attrname="nome" fieldtype="string" WIDTH="25"/>)"},
    {kTab2,   R"(<FIELD attrname="cnpj" fieldtype="string" WIDTH="18"/>)"},
    {kTab2,   R"(<FIELD attrname="pedido" fieldtype="nested">)"},
    {kTab3,   R"(<FIELDS>)"},
    {kTab4,   R"(<FIELD attrname="ordem_de_compra" fieldtype="string" WIDTH="10"/>)"},
    {kTab4,   R"(<FIELD attrname="observacoes_nf" fieldtype="string" WIDTH="70"/>)"},
    {kTab4,   R"(<FIELD attrname="tipo_ordem" fieldtype="string" WIDTH="1"/>)"},
    {kTab4,   R"(<FIELD attrname="pedido_original" fieldtype="string" WIDTH="40"/>)"},
    {kTab4,   R"(<FIELD attrname="total_pedido" fieldtype="string" WIDTH="20"/>)"},
    {kTab4,   R"(<FIELD attrname="item" fieldtype="nested">)"},
    {kTab4,   R"(<FIELDS>)"},
    {kTab5,   R"(<FIELD attrname="id_produto" fieldtype="string" WIDTH="10"/>)"},
    {kTab5,   R"(<FIELD attrname="codigo_produto" fieldtype="string" WIDTH="10"/>)"},
    {kTab5,   R"(<FIELD attrname="descricao" fieldtype="string" WIDTH="250"/>)"},
    {kTab5,   R"(<FIELD attrname="quantidade" fieldtype="string" WIDTH="10"/>)"},
    {kTab5,   R"(<FIELD attrname="valor_unitario" fieldtype="string" WIDTH="20"/>)"},
    {kTab5,   R"(<FIELD attrname="valor_total" fieldtype="string" WIDTH="20"/>)"},
    {kTab4,   R"(</FIELDS>)"},
    {kTab4,   R"(<PARAMS/></FIELD></FIELDS>)"},
    {kTab4,   R"(<PARAMS/></FIELD></FIELDS>)"},
    {kTab4,   R"(<PARAMS/></METADATA><ROWDATA/></DATAPACKET>)"},
    {kNone,   R"(]]></Skeleton></XmlTransformation>)"},
};
// clang-format on

void raiseSystemError()
{
    throw Error(systemIoErrorMessage(errno));
}

} // namespace

QByteArray transformationFileContent()
{
    QByteArray content;
    for (const Line& line : kLines) {
        content += line.indent;
        content += line.text;
        content += "\r\n";
    }
    return content;
}

void salvaxtr(const QString& path)
{
    const QByteArray content = transformationFileContent();
    FileDescriptor file(::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
    if (!file.isOpen())
        throw Error(ioErrorMessage(kFileNotOpenForOutput));
    for (qsizetype written = 0; written < content.size();) {
        const ssize_t count = ::write(file.get(), content.constData() + written, content.size() - written);
        if (count < 0) {
            if (errno == EINTR)
                continue;
            raiseSystemError();
        }
        written += count;
    }
    if (!file.close())
        raiseSystemError();
}
