#include "VelourPlugin.h"

#include "Descriptors.h"
#include "ZBase.h"

VelourPlugin::VelourPlugin(QObject* parent)
    : QObject(parent)
{
    DesignerMode = true;
    // The widget box lists them in this order.
    m_Widgets << new ZPanelPlugin(this) << new ZScrollPanelPlugin(this) << new ZButtonPlugin(this)
              << new ZCheckBoxPlugin(this) << new ZSwitchButtonPlugin(this) << new ZComboBoxPlugin(this)
              << new ZLabelPlugin(this) << new ZLineEditPlugin(this) << new ZProgressBarPlugin(this)
              << new ZTrackBarPlugin(this) << new ZItemListPlugin(this) << new ZTabPagePlugin(this)
              << new ZTabControlPlugin(this) << new ZGridListPlugin(this) << new ZTreeViewPlugin(this)
              << new ZHourMinutePickerPlugin(this) << new ZFormPlugin(this) << new ZTestPlugin(this);
}

VelourPlugin::~VelourPlugin() = default;

QList<QDesignerCustomWidgetInterface*> VelourPlugin::customWidgets() const
{
    return m_Widgets;
}
