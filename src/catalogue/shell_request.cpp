#include "catalogue/shell_request.h"

#include "catalogue/program_directory.h"

namespace sc {

void openWithShell(ShellService& shell, const LaunchContext& app, std::string_view target) {
    ShellRequest request;
    request.owner = app.ownerWindow();
    request.verb = "open";
    request.file = std::string(target);
    request.showCommand = kShowDefault;
    shell.execute(request);
}

void launchTaskProgram(ShellService& shell, const LaunchContext& app, BusyCursor& busy,
                       std::string_view fileName) {
    const BusyScope scope(busy);
    const std::string path = joinPath(directoryPart(app.exeName()), fileName);
    openWithShell(shell, app, path);
}

void openWebSite(ShellService& shell, const LaunchContext& app, BusyCursor& busy,
                 std::string_view address) {
    const BusyScope scope(busy);
    openWithShell(shell, app, address);
}

std::string supportMailTarget(std::string_view address) {
    std::string target = "mailto:";
    target.append(address);
    return target;
}

} // namespace sc
