#include "ServiceTarget.h"

#include "service/ServiceSettings.h"
#include "service/WebService.h"

void pointClientAt(const QString &baseUrl, int timeoutMs)
{
    ServiceSettings settings;
    settings.baseAddress = baseUrl;
    settings.serviceNamespace = QStringLiteral("http://tempuri.org/");
    settings.callTimeoutMs = timeoutMs;
    RegisterWebServiceSoap(settings);
}
