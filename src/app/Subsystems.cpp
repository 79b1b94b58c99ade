#include "app/Subsystems.h"

#include "capture/CaptureCommands.h"
#include "colourcommands/ColourCommands.h"
#include "depth/DepthCommands.h"
#include "effects/EffectCommands.h"
#include "filtercommands/FilterCommands.h"
#include "geometry/GeometryCommands.h"
#include "measure/MeasureCommands.h"
#include "saving/SaveCommands.h"
#include "transparency/TransparencyCommands.h"

namespace mv {

namespace {

template <typename T>
SubsystemFactory Make() {
  return [](TForm1& form) -> std::unique_ptr<Subsystem> { return std::make_unique<T>(form); };
}

}  // namespace

SubsystemList AllSubsystems() {
  return {
      Make<GeometryCommands>(), Make<ColourCommands>(),       Make<FilterCommands>(),
      Make<EffectCommands>(),   Make<MeasureCommands>(),      Make<SaveCommands>(),
      Make<DepthCommands>(),    Make<TransparencyCommands>(), Make<CaptureCommands>(),
  };
}

}  // namespace mv
