#include "tools/report.h"

namespace orva::tool {

void ReportConcordance(cORVABookBase& /*book*/) {}

}  // namespace orva::tool
