#pragma once

class QWidget;

// Fills the demo window's content area (the widget covering the frame's content rectangle).
void addDemoContent(QWidget* client);
