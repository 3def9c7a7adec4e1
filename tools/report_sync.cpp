#include "tools/report.h"

namespace orva::tool {

void ReportSync(cORVABookBase& /*book*/) {}

}  // namespace orva::tool
