#include "VelourPlugin.h"

#include "Descriptors.h"
#include "Landed.h"
#include "ZBase.h"

VelourPlugin::VelourPlugin(QObject* parent)
    : QObject(parent)
{
    DesignerMode = true;
    m_Widgets << new ZPanelPlugin(this) << new ZScrollPanelPlugin(this) << new ZButtonPlugin(this)
              << new ZCheckBoxPlugin(this) << new ZSwitchButtonPlugin(this) << new ZComboBoxPlugin(this)
              << new ZLabelPlugin(this);
#if VELOUR_HAVE_ZLINEEDIT
    m_Widgets << new ZLineEditPlugin(this);
#endif
    m_Widgets << new ZProgressBarPlugin(this);
#if VELOUR_HAVE_ZTRACKBAR
    m_Widgets << new ZTrackBarPlugin(this);
#endif
#if VELOUR_HAVE_ZITEMLIST
    m_Widgets << new ZItemListPlugin(this);
#endif
    m_Widgets << new ZTabPagePlugin(this) << new ZTabControlPlugin(this);
#if VELOUR_HAVE_ZGRIDLIST
    m_Widgets << new ZGridListPlugin(this);
#endif
#if VELOUR_HAVE_ZTREEVIEW
    m_Widgets << new ZTreeViewPlugin(this);
#endif
#if VELOUR_HAVE_ZHOURMINUTEPICKER
    m_Widgets << new ZHourMinutePickerPlugin(this);
#endif
    m_Widgets << new ZFormPlugin(this);
#if VELOUR_HAVE_ZTEST
    m_Widgets << new ZTestPlugin(this);
#endif
}

VelourPlugin::~VelourPlugin() = default;

QList<QDesignerCustomWidgetInterface*> VelourPlugin::customWidgets() const
{
    return m_Widgets;
}
