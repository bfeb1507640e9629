#include "frame/plugin_context.h"

namespace zov::plugins {

Ref<PluginContext> PluginContext::For(const Ref<IHost>& host) {
  if (auto state = host->LibraryState(kLibraryName).As<IPluginState>())
    return Ref<PluginContext>(static_cast<PluginContext*>(state.get()));
  auto context = Ref<PluginContext>::Adopt(new PluginContext(host.get()));
  host->SetLibraryState(kLibraryName, context);
  return context;
}

}  // namespace zov::plugins
