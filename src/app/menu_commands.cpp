#include "app/main_window.h"
#include "platform/application.h"
#include "recording/sensitivity_file.h"

void TForm1::AboutClick(Component* /*Sender*/) {
  CurrentDesktop().ShowMessage("SW 01.03.00.", "Tavro");
}

void TForm1::Exit2Click(Component* /*Sender*/) {
  Application::Current()->Terminate();
}

void TForm1::PrintClick(Component* /*Sender*/) {
  // A print queue lists the job under the recording's name.
  CurrentDesktop().PrintChartLandscape(*Chart1, DataFileName);
}

void TForm1::PrepareSaveDialog(const char* filter) {
  SaveFileDialog->Filter = filter;
  SaveFileDialog->FilterIndex = 1;
  SaveFileDialog->InitialDir = RecordingFolder(DataFileName);
}

void TForm1::SaveBmp1Click(Component* /*Sender*/) {
  Form1->PrepareSaveDialog("*.bmp|*.bmp");
  if (!Form1->SaveFileDialog->Execute()) return;
  // The name goes to the file system exactly as the dialog returned it.
  CurrentDesktop().SaveChartToBitmap(*Form1->Chart1, Form1->SaveFileDialog->FileName);
}
