#include "server/storage/sql_storage.h"

#include <cstdlib>
#include <cstring>

namespace vks {

int SchemaVersionOf(const char* schemaText)
{
    static constexpr const char* kMarker = "INSERT INTO schema_version (version) VALUES (";
    const char* at = std::strstr(schemaText, kMarker);
    return at ? std::atoi(at + std::strlen(kMarker)) : 0;
}

} // namespace vks
