#include "CommandLineAdapters.h"

#include "platform/Services.h"
#include "platform/linux/CompiledMainBundle.h"
#include "platform/linux/DesktopApplications.h"
#include "platform/linux/DesktopBundleReader.h"
#include "platform/linux/LocalFileSystem.h"
#include "platform/linux/MimeAppsHandlerService.h"
#include "platform/linux/NoPromptScriptRunner.h"
#include "platform/linux/TrustedAccessibility.h"

namespace Tolvane::cli {

void installCommandLineAdapters(bool versions) {
    using namespace platform;
    using namespace platform::linux_;
    // One index, so the list, the metadata and the switch share parsed entries.
    auto index = std::make_shared<DesktopEntryIndex>();
    install<Workspace>(std::make_shared<DesktopApplications>(index));
    using Versions = DesktopBundleReader::Versions;
    install<BundleReader>(
        std::make_shared<DesktopBundleReader>(index, versions ? Versions::read : Versions::skipped));
    install<HandlerService>(std::make_shared<MimeAppsHandlerService>(index));
    install<FileSystem>(std::make_shared<LocalFileSystem>());
    install<ScriptRunner>(std::make_shared<NoPromptScriptRunner>());
    install<Accessibility>(std::make_shared<TrustedAccessibility>());
    install<MainBundle>(std::make_shared<CompiledMainBundle>());
}

} // namespace Tolvane::cli
