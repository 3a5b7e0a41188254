#include "soap/WsdlDocument.h"

#include "soap/ServiceOperations.h"

#include <QXmlStreamWriter>

namespace server {

namespace WsdlDocument {

namespace {

const QString Wsdl = QStringLiteral("http://schemas.xmlsoap.org/wsdl/");
const QString WsdlSoap = QStringLiteral("http://schemas.xmlsoap.org/wsdl/soap/");
const QString Xsd = QStringLiteral("http://www.w3.org/2001/XMLSchema");

QString typeName(XsdType type)
{
    switch (type) {
    case XsdType::Int:
        return QStringLiteral("s:int");
    case XsdType::Double:
        return QStringLiteral("s:double");
    case XsdType::String:
        break;
    }
    return QStringLiteral("s:string");
}

void writeElement(QXmlStreamWriter &xml, const QString &name,
                  const QList<ServiceParameter> &members)
{
    xml.writeStartElement(Xsd, QStringLiteral("element"));
    xml.writeAttribute(QStringLiteral("name"), name);
    xml.writeStartElement(Xsd, QStringLiteral("complexType"));
    if (!members.isEmpty()) {
        xml.writeStartElement(Xsd, QStringLiteral("sequence"));
        for (const ServiceParameter &member : members) {
            xml.writeEmptyElement(Xsd, QStringLiteral("element"));
            // Strings may be absent; numbers are always there (they arrive as 0 when not sent).
            xml.writeAttribute(QStringLiteral("minOccurs"),
                               member.type == XsdType::String ? QStringLiteral("0")
                                                              : QStringLiteral("1"));
            xml.writeAttribute(QStringLiteral("maxOccurs"), QStringLiteral("1"));
            xml.writeAttribute(QStringLiteral("name"), member.name);
            xml.writeAttribute(QStringLiteral("type"), typeName(member.type));
        }
        xml.writeEndElement();
    }
    xml.writeEndElement();
    xml.writeEndElement();
}

void writeMessage(QXmlStreamWriter &xml, const QString &name, const QString &element)
{
    xml.writeStartElement(Wsdl, QStringLiteral("message"));
    xml.writeAttribute(QStringLiteral("name"), name);
    xml.writeEmptyElement(Wsdl, QStringLiteral("part"));
    xml.writeAttribute(QStringLiteral("name"), QStringLiteral("parameters"));
    xml.writeAttribute(QStringLiteral("element"), QStringLiteral("tns:") + element);
    xml.writeEndElement();
}

void writeLiteralBody(QXmlStreamWriter &xml, const QString &direction)
{
    xml.writeStartElement(Wsdl, direction);
    xml.writeEmptyElement(WsdlSoap, QStringLiteral("body"));
    xml.writeAttribute(QStringLiteral("use"), QStringLiteral("literal"));
    xml.writeEndElement();
}

} // namespace

QByteArray write(const QString &serviceNamespace, const QString &endpointUrl)
{
    QByteArray out;
    QXmlStreamWriter xml(&out);
    xml.setAutoFormatting(true);
    xml.setAutoFormattingIndent(2);
    xml.writeStartDocument();
    xml.writeNamespace(WsdlSoap, QStringLiteral("soap"));
    xml.writeNamespace(serviceNamespace, QStringLiteral("tns"));
    xml.writeNamespace(Xsd, QStringLiteral("s"));
    xml.writeNamespace(Wsdl, QStringLiteral("wsdl"));
    xml.writeStartElement(Wsdl, QStringLiteral("definitions"));
    xml.writeAttribute(QStringLiteral("targetNamespace"), serviceNamespace);

    xml.writeStartElement(Wsdl, QStringLiteral("types"));
    xml.writeStartElement(Xsd, QStringLiteral("schema"));
    xml.writeAttribute(QStringLiteral("elementFormDefault"), QStringLiteral("qualified"));
    xml.writeAttribute(QStringLiteral("targetNamespace"), serviceNamespace);
    for (const ServiceOperation &operation : serviceOperations()) {
        writeElement(xml, operation.name, operation.parameters);
        writeElement(xml, operation.name + QStringLiteral("Response"),
                     {{operation.name + QStringLiteral("Result"), operation.result}});
    }
    xml.writeEndElement(); // schema
    xml.writeEndElement(); // types

    for (const ServiceOperation &operation : serviceOperations()) {
        writeMessage(xml, operation.name + QStringLiteral("SoapIn"), operation.name);
        writeMessage(xml, operation.name + QStringLiteral("SoapOut"),
                     operation.name + QStringLiteral("Response"));
    }

    xml.writeStartElement(Wsdl, QStringLiteral("portType"));
    xml.writeAttribute(QStringLiteral("name"), QStringLiteral("WebServiceSoap"));
    for (const ServiceOperation &operation : serviceOperations()) {
        xml.writeStartElement(Wsdl, QStringLiteral("operation"));
        xml.writeAttribute(QStringLiteral("name"), operation.name);
        xml.writeEmptyElement(Wsdl, QStringLiteral("input"));
        xml.writeAttribute(QStringLiteral("message"),
                           QStringLiteral("tns:") + operation.name + QStringLiteral("SoapIn"));
        xml.writeEmptyElement(Wsdl, QStringLiteral("output"));
        xml.writeAttribute(QStringLiteral("message"),
                           QStringLiteral("tns:") + operation.name + QStringLiteral("SoapOut"));
        xml.writeEndElement();
    }
    xml.writeEndElement(); // portType

    xml.writeStartElement(Wsdl, QStringLiteral("binding"));
    xml.writeAttribute(QStringLiteral("name"), QStringLiteral("WebServiceSoap"));
    xml.writeAttribute(QStringLiteral("type"), QStringLiteral("tns:WebServiceSoap"));
    xml.writeEmptyElement(WsdlSoap, QStringLiteral("binding"));
    xml.writeAttribute(QStringLiteral("transport"),
                       QStringLiteral("http://schemas.xmlsoap.org/soap/http"));
    for (const ServiceOperation &operation : serviceOperations()) {
        xml.writeStartElement(Wsdl, QStringLiteral("operation"));
        xml.writeAttribute(QStringLiteral("name"), operation.name);
        xml.writeEmptyElement(WsdlSoap, QStringLiteral("operation"));
        xml.writeAttribute(QStringLiteral("soapAction"), serviceNamespace + operation.name);
        xml.writeAttribute(QStringLiteral("style"), QStringLiteral("document"));
        writeLiteralBody(xml, QStringLiteral("input"));
        writeLiteralBody(xml, QStringLiteral("output"));
        xml.writeEndElement();
    }
    xml.writeEndElement(); // binding

    xml.writeStartElement(Wsdl, QStringLiteral("service"));
    xml.writeAttribute(QStringLiteral("name"), QStringLiteral("WebService"));
    xml.writeStartElement(Wsdl, QStringLiteral("port"));
    xml.writeAttribute(QStringLiteral("name"), QStringLiteral("WebServiceSoap"));
    xml.writeAttribute(QStringLiteral("binding"), QStringLiteral("tns:WebServiceSoap"));
    xml.writeEmptyElement(WsdlSoap, QStringLiteral("address"));
    xml.writeAttribute(QStringLiteral("location"), endpointUrl);
    xml.writeEndElement(); // port
    xml.writeEndElement(); // service

    xml.writeEndElement(); // definitions
    xml.writeEndDocument();
    return out;
}

} // namespace WsdlDocument

} // namespace server
