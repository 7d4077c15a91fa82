#include "PortArgument.h"

#include "protocol/Fields.h"
#include "toolkit/TextFunctions.h"

namespace receiver {

std::uint16_t PortFromArguments(const QStringList& arguments)
{
    for (const QString& argument : arguments) {
        if (toolkit::IsAllDigits(argument))
            return static_cast<std::uint16_t>(toolkit::TextToInt(argument, protocol::kDefaultPort) &
                                              0xFFFF);
    }
    return protocol::kDefaultPort;
}

} // namespace receiver
