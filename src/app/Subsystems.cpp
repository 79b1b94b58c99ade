#include "app/Subsystems.h"

#include "colourcommands/ColourCommands.h"
#include "geometry/GeometryCommands.h"
#include "measure/MeasureCommands.h"

namespace mv {

namespace {

template <typename T>
SubsystemFactory Make() {
  return [](TForm1& form) -> std::unique_ptr<Subsystem> { return std::make_unique<T>(form); };
}

}  // namespace

SubsystemList AllSubsystems() {
  return {
      Make<GeometryCommands>(),
      Make<ColourCommands>(),
      Make<MeasureCommands>(),
  };
}

}  // namespace mv
