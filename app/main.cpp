// BCM Orvel: one window in which a model neuron learns by the BCM rule from two eyes.
#include "Application.h"
#include "orvel.h"

int main() {
  TApplication application;
  try {
    Application->Initialize();
    Application->CreateForm(Form1);
    // SIGINT and SIGTERM close the window as its close button does: runs stop, logs end whole.
    Application->HandleTerminationSignals([] { Form1->Close(); });
    Application->Run();
  } catch (const Exception& error) {
    Application->ShowException(error);
  }
  return 0;
}
