#include "tools/report.h"

namespace orva::tool {

void ReportText(cORVABookBase& /*book*/) {}

}  // namespace orva::tool
