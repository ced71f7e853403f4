// The host's text forms: the list text of key ids.
#include <string>
#include <vector>

#include "ISensorController.h"
#include "internal/ControllerUnit.h"

bool ISensorController::parseSensorParameter(const std::string& p_strIds,
                                             std::vector<std::string>& p_vecItems) {
    if (p_strIds.size() < 3 || p_strIds[0] != '(') return false;
    size_t nClose = p_strIds.find(')');
    if (nClose != p_strIds.size() - 1) return false;
    StringHandler::split(p_strIds.substr(1, nClose - 1), p_vecItems, ",");
    return !p_vecItems.empty();
}
