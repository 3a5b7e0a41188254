#include "service/CallInFlight.h"

#include "service/SoapTransport.h"

bool serviceCallInFlight()
{
    return SoapTransport::callInFlight();
}
