#include "DemoContent.h"

#include <QWidget>

// The content area stays empty for now: the frame's centre piece shows through.
void addDemoContent(QWidget* client) {
    (void)client;
}
