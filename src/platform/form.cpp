#include "platform/form.h"

void Form::AfterConstruction() {
  if (OnCreate) DispatchUserAction([this] { OnCreate(this); });
}
