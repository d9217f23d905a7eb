#pragma once
#include "WidgetDescriptor.h"

// One descriptor per widget class of the library, in the order of the widget box (see VelourPlugin).

class ZPanelPlugin : public WidgetDescriptor
{
    Q_OBJECT

public:
    explicit ZPanelPlugin(QObject* parent);
    QWidget* createWidget(QWidget* parent) override;
};

// Also registers the scroll panel's container extension with Designer.
class ZScrollPanelPlugin : public WidgetDescriptor
{
    Q_OBJECT

public:
    explicit ZScrollPanelPlugin(QObject* parent);
    QWidget* createWidget(QWidget* parent) override;

protected:
    void InitializeEvent(QDesignerFormEditorInterface* core) override;
};

class ZButtonPlugin : public WidgetDescriptor
{
    Q_OBJECT

public:
    explicit ZButtonPlugin(QObject* parent);
    QWidget* createWidget(QWidget* parent) override;
};

class ZCheckBoxPlugin : public WidgetDescriptor
{
    Q_OBJECT

public:
    explicit ZCheckBoxPlugin(QObject* parent);
    QWidget* createWidget(QWidget* parent) override;
};

class ZSwitchButtonPlugin : public WidgetDescriptor
{
    Q_OBJECT

public:
    explicit ZSwitchButtonPlugin(QObject* parent);
    QWidget* createWidget(QWidget* parent) override;
};

class ZComboBoxPlugin : public WidgetDescriptor
{
    Q_OBJECT

public:
    explicit ZComboBoxPlugin(QObject* parent);
    QWidget* createWidget(QWidget* parent) override;
};

class ZLabelPlugin : public WidgetDescriptor
{
    Q_OBJECT

public:
    explicit ZLabelPlugin(QObject* parent);
    QWidget* createWidget(QWidget* parent) override;
};

class ZLineEditPlugin : public WidgetDescriptor
{
    Q_OBJECT

public:
    explicit ZLineEditPlugin(QObject* parent);
    QWidget* createWidget(QWidget* parent) override;
};

class ZProgressBarPlugin : public WidgetDescriptor
{
    Q_OBJECT

public:
    explicit ZProgressBarPlugin(QObject* parent);
    QWidget* createWidget(QWidget* parent) override;
};

class ZTrackBarPlugin : public WidgetDescriptor
{
    Q_OBJECT

public:
    explicit ZTrackBarPlugin(QObject* parent);
    QWidget* createWidget(QWidget* parent) override;
};

class ZItemListPlugin : public WidgetDescriptor
{
    Q_OBJECT

public:
    explicit ZItemListPlugin(QObject* parent);
    QWidget* createWidget(QWidget* parent) override;
};

class ZTabPagePlugin : public WidgetDescriptor
{
    Q_OBJECT

public:
    explicit ZTabPagePlugin(QObject* parent);
    QWidget* createWidget(QWidget* parent) override;
};

// Also registers the tab control's container extension with Designer, and keeps Designer's property editor
// on the page that the tab control shows.
class ZTabControlPlugin : public WidgetDescriptor
{
    Q_OBJECT

public:
    explicit ZTabControlPlugin(QObject* parent);
    QWidget* createWidget(QWidget* parent) override;

public slots:
    void SelectedPageChanged(int index);

protected:
    void InitializeEvent(QDesignerFormEditorInterface* core) override;
};

class ZGridListPlugin : public WidgetDescriptor
{
    Q_OBJECT

public:
    explicit ZGridListPlugin(QObject* parent);
    QWidget* createWidget(QWidget* parent) override;
};

class ZTreeViewPlugin : public WidgetDescriptor
{
    Q_OBJECT

public:
    explicit ZTreeViewPlugin(QObject* parent);
    QWidget* createWidget(QWidget* parent) override;
};

class ZHourMinutePickerPlugin : public WidgetDescriptor
{
    Q_OBJECT

public:
    explicit ZHourMinutePickerPlugin(QObject* parent);
    QWidget* createWidget(QWidget* parent) override;
};

class ZFormPlugin : public WidgetDescriptor
{
    Q_OBJECT

public:
    explicit ZFormPlugin(QObject* parent);
    QWidget* createWidget(QWidget* parent) override;
};

class ZTestPlugin : public WidgetDescriptor
{
    Q_OBJECT

public:
    explicit ZTestPlugin(QObject* parent);
    QWidget* createWidget(QWidget* parent) override;
};
