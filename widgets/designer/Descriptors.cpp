#include "Descriptors.h"

#include "DomXml.h"
#include "ZScrollPanelContainerExtension.h"
#include "ZTabControlContainerExtension.h"

#include "ZButton.h"
#include "ZCheckBox.h"
#include "ZComboBox.h"
#include "ZForm.h"
#include "ZGridList.h"
#include "ZHourMinutePicker.h"
#include "ZItemList.h"
#include "ZLabel.h"
#include "ZLineEdit.h"
#include "ZPanel.h"
#include "ZProgressBar.h"
#include "ZScrollPanel.h"
#include "ZSwitchButton.h"
#include "ZTabControl.h"
#include "ZTabPage.h"
#include "ZTest.h"
#include "ZTrackBar.h"
#include "ZTreeView.h"

#include <QtDesigner/QDesignerFormEditorInterface>
#include <QtDesigner/QDesignerFormWindowInterface>
#include <QtDesigner/QExtensionManager>

using namespace DomXml;

namespace {
const QString Velour = QStringLiteral("Velour");

QString Plain(const QString& className, int width, int height)
{
    return Widget(className, Geometry(width, height));
}

// Registers factory for Designer's container extension.
void RegisterContainerFactory(QDesignerFormEditorInterface* core, QExtensionFactory* (*make)(QExtensionManager*))
{
    QExtensionManager* manager = core ? core->extensionManager() : nullptr;
    if (!manager)
        return;
    manager->registerExtensions(make(manager), QStringLiteral("org.qt-project.Qt.Designer.Container"));
}
} // namespace

ZPanelPlugin::ZPanelPlugin(QObject* parent)
    : WidgetDescriptor({QStringLiteral("ZPanel"), Velour, true,
                        Widget(QStringLiteral("ZPanel"), Geometry(300, 300) + Color(QStringLiteral("BackColor"), 0, 0, 0, 30))},
                       parent)
{
}
QWidget* ZPanelPlugin::createWidget(QWidget* parent) { return new ZPanel(parent); }

ZScrollPanelPlugin::ZScrollPanelPlugin(QObject* parent)
    : WidgetDescriptor({QStringLiteral("ZScrollPanel"), Velour, true,
                        Widget(QStringLiteral("ZScrollPanel"),
                               Geometry(300, 300) + Size(QStringLiteral("ScrollAreaSize"), 500, 500) +
                                   Color(QStringLiteral("BackColor"), 0, 0, 0, 0) + Number(QStringLiteral("SliderRadius"), 5) +
                                   Color(QStringLiteral("SliderColor"), 230, 230, 230) +
                                   QStringLiteral("<widget class=\"ZPanel\" name=\"ScrollArea\">%1</widget>")
                                       .arg(Color(QStringLiteral("BackColor"), 0, 0, 0, 30)))},
                       parent)
{
}
QWidget* ZScrollPanelPlugin::createWidget(QWidget* parent) { return new ZScrollPanel(parent); }
void ZScrollPanelPlugin::InitializeEvent(QDesignerFormEditorInterface* core)
{
    RegisterContainerFactory(core, [](QExtensionManager* m) -> QExtensionFactory* {
        return new ZScrollPanelExtensionFactory(m);
    });
}

ZButtonPlugin::ZButtonPlugin(QObject* parent)
    : WidgetDescriptor({QStringLiteral("ZButton"), Velour, false,
                        Widget(QStringLiteral("ZButton"), Geometry(80, 30) + Number(QStringLiteral("Radius"), 8) +
                                                              Color(QStringLiteral("BackColor"), 245, 245, 245))},
                       parent)
{
}
QWidget* ZButtonPlugin::createWidget(QWidget* parent) { return new ZButton(parent); }

ZCheckBoxPlugin::ZCheckBoxPlugin(QObject* parent)
    : WidgetDescriptor({QStringLiteral("ZCheckBox"), Velour, false,
                        Widget(QStringLiteral("ZCheckBox"), Geometry(100, 16) + Color(QStringLiteral("ForeColor"), 80, 80, 80) +
                                                                String(QStringLiteral("Text"), QStringLiteral("ZCheckBox")))},
                       parent)
{
}
QWidget* ZCheckBoxPlugin::createWidget(QWidget* parent) { return new ZCheckBox(parent); }

ZSwitchButtonPlugin::ZSwitchButtonPlugin(QObject* parent)
    : WidgetDescriptor({QStringLiteral("ZSwitchButton"), Velour, false,
                        Widget(QStringLiteral("ZSwitchButton"), Geometry(80, 30) + Color(QStringLiteral("BackColor"), 245, 245, 245))},
                       parent)
{
}
QWidget* ZSwitchButtonPlugin::createWidget(QWidget* parent) { return new ZSwitchButton(parent); }

ZComboBoxPlugin::ZComboBoxPlugin(QObject* parent)
    : WidgetDescriptor({QStringLiteral("ZComboBox"), Velour, false, Plain(QStringLiteral("ZComboBox"), 100, 30)}, parent)
{
}
QWidget* ZComboBoxPlugin::createWidget(QWidget* parent) { return new ZComboBox(parent); }

ZLabelPlugin::ZLabelPlugin(QObject* parent)
    : WidgetDescriptor({QStringLiteral("ZLabel"), Velour, false, Plain(QStringLiteral("ZLabel"), 100, 30)}, parent)
{
}
QWidget* ZLabelPlugin::createWidget(QWidget* parent) { return new ZLabel(parent); }

ZLineEditPlugin::ZLineEditPlugin(QObject* parent)
    : WidgetDescriptor({QStringLiteral("ZLineEdit"), Velour, false, Plain(QStringLiteral("ZLineEdit"), 100, 30)}, parent)
{
}
QWidget* ZLineEditPlugin::createWidget(QWidget* parent) { return new ZLineEdit(parent); }

ZProgressBarPlugin::ZProgressBarPlugin(QObject* parent)
    : WidgetDescriptor({QStringLiteral("ZProgressBar"), Velour, false, Plain(QStringLiteral("ZProgressBar"), 100, 30)}, parent)
{
}
QWidget* ZProgressBarPlugin::createWidget(QWidget* parent) { return new ZProgressBar(parent); }

ZTrackBarPlugin::ZTrackBarPlugin(QObject* parent)
    : WidgetDescriptor({QStringLiteral("ZTrackBar"), Velour, false, Plain(QStringLiteral("ZTrackBar"), 100, 30)}, parent)
{
}
QWidget* ZTrackBarPlugin::createWidget(QWidget* parent) { return new ZTrackBar(parent); }

ZItemListPlugin::ZItemListPlugin(QObject* parent)
    : WidgetDescriptor({QStringLiteral("ZItemList"), Velour, false, Plain(QStringLiteral("ZItemList"), 100, 100)}, parent)
{
}
QWidget* ZItemListPlugin::createWidget(QWidget* parent) { return new ZItemList(parent); }

ZTabPagePlugin::ZTabPagePlugin(QObject* parent)
    : WidgetDescriptor({QStringLiteral("ZTabPage"), Velour, true, QString()}, parent)
{
}
QWidget* ZTabPagePlugin::createWidget(QWidget* parent) { return new ZTabPage(parent, true); }

// A whole ui document: the two pages and the page-adding method come with the first drop.
static QString TabControlXml()
{
    const QString control =
        QStringLiteral("<widget class=\"ZTabControl\" name=\"zTabControl\">%1%2"
                       "<widget class=\"ZTabPage\" name=\"page\"/><widget class=\"ZTabPage\" name=\"page\"/></widget>")
            .arg(Geometry(200, 200), Size(QStringLiteral("TabBarSize"), 50, 20));
    return QStringLiteral("<ui language=\"c++\">%1<customwidgets><customwidget><class>ZTabControl</class>"
                          "<extends>QWidget</extends><addpagemethod>AddPage</addpagemethod></customwidget>"
                          "</customwidgets></ui>")
        .arg(control);
}

ZTabControlPlugin::ZTabControlPlugin(QObject* parent)
    : WidgetDescriptor({QStringLiteral("ZTabControl"), Velour, true, TabControlXml()}, parent)
{
}
QWidget* ZTabControlPlugin::createWidget(QWidget* parent)
{
    auto* control = new ZTabControl(parent);
    connect(control, &ZTabControl::SelectedPageChanged, this, &ZTabControlPlugin::SelectedPageChanged);
    return control;
}
void ZTabControlPlugin::InitializeEvent(QDesignerFormEditorInterface* core)
{
    RegisterContainerFactory(core, [](QExtensionManager* m) -> QExtensionFactory* {
        return new ZTabControlExtensionFactory(m);
    });
}
void ZTabControlPlugin::SelectedPageChanged(int)
{
    // The property editor follows the page on show.
    auto* control = qobject_cast<ZTabControl*>(sender());
    if (!control)
        return;
    if (QDesignerFormWindowInterface* form = QDesignerFormWindowInterface::findFormWindow(control))
        form->emitSelectionChanged();
}

ZGridListPlugin::ZGridListPlugin(QObject* parent)
    : WidgetDescriptor({QStringLiteral("ZGridList"), Velour, false, Plain(QStringLiteral("ZGridList"), 100, 30)}, parent)
{
}
QWidget* ZGridListPlugin::createWidget(QWidget* parent) { return new ZGridList(parent); }

ZTreeViewPlugin::ZTreeViewPlugin(QObject* parent)
    : WidgetDescriptor({QStringLiteral("ZTreeView"), Velour, false, Plain(QStringLiteral("ZTreeView"), 300, 300)}, parent)
{
}
QWidget* ZTreeViewPlugin::createWidget(QWidget* parent) { return new ZTreeView(parent); }

ZHourMinutePickerPlugin::ZHourMinutePickerPlugin(QObject* parent)
    : WidgetDescriptor({QStringLiteral("ZHourMinutePicker"), QStringLiteral("VelourEx"), false,
                        Widget(QStringLiteral("ZHourMinutePicker"))},
                       parent)
{
}
QWidget* ZHourMinutePickerPlugin::createWidget(QWidget* parent) { return new ZHourMinutePicker(parent); }

ZFormPlugin::ZFormPlugin(QObject* parent)
    : WidgetDescriptor({QStringLiteral("ZForm"), QString(), true, QString()}, parent)
{
}
QWidget* ZFormPlugin::createWidget(QWidget* parent) { return new ZForm(parent); }

ZTestPlugin::ZTestPlugin(QObject* parent)
    : WidgetDescriptor({QStringLiteral("ZTest"), Velour, false, Plain(QStringLiteral("ZTest"), 100, 30), false}, parent)
{
}
QWidget* ZTestPlugin::createWidget(QWidget* parent) { return new ZTest(parent); }
