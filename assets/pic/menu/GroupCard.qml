// A labelled group of menu buttons on a white card; slides in after its delay.
import QtQuick
import QtQuick.Layouts

Item {
    id: card

    property string title: ""
    property string hint: ""
    property real u: 1
    property string fontFamily: "WenQuanYi Micro Hei"
    property int columns: 1
    property int introDelay: 0
    default property alias buttons: grid.data
    // Height of the card without its button rows: margins, title row, rule and spacing.
    readonly property real titleHeight: Math.round(22 * u)
    readonly property real chrome: Math.round(8 * u) + titleHeight + 2 * Math.round(7 * u) + 1 + Math.round(10 * u)
    readonly property real rowSpacing: Math.round(6 * u)

    opacity: 0
    transform: Translate { id: shift; y: 22 * card.u }

    // A soft shadow under the card.
    Rectangle {
        anchors.fill: parent
        anchors.topMargin: 3
        anchors.leftMargin: 1
        anchors.rightMargin: -1
        anchors.bottomMargin: -3
        radius: panel.radius
        color: "#0f5e6e"
        opacity: 0.07
    }

    Rectangle {
        id: panel
        anchors.fill: parent
        radius: Math.round(10 * card.u)
        color: "#ffffff"
        border.color: "#d6e3e7"
        border.width: 1

        ColumnLayout {
            anchors.fill: parent
            anchors.margins: Math.round(10 * card.u)
            anchors.topMargin: Math.round(8 * card.u)
            spacing: Math.round(7 * card.u)

            RowLayout {
                Layout.fillWidth: true
                Layout.preferredHeight: card.titleHeight
                Layout.maximumHeight: card.titleHeight
                spacing: Math.round(7 * card.u)

                Rectangle {
                    Layout.preferredWidth: Math.round(4 * card.u)
                    Layout.preferredHeight: Math.round(17 * card.u)
                    radius: width / 2
                    gradient: Gradient {
                        GradientStop { position: 0; color: "#2f8fb0" }
                        GradientStop { position: 1; color: "#0f5e6e" }
                    }
                }
                Text {
                    text: card.title
                    color: "#0f5e6e"
                    font.family: card.fontFamily
                    font.pixelSize: Math.round(15 * card.u)
                    font.bold: true
                }
                Text {
                    Layout.fillWidth: true
                    text: card.hint
                    horizontalAlignment: Text.AlignRight
                    color: "#7d9198"
                    font.family: card.fontFamily
                    font.pixelSize: Math.round(11 * card.u)
                    elide: Text.ElideRight
                }
            }

            Rectangle {
                Layout.fillWidth: true
                Layout.preferredHeight: 1
                color: "#e3ecef"
            }

            GridLayout {
                id: grid
                Layout.fillWidth: true
                Layout.fillHeight: true
                columns: card.columns
                columnSpacing: Math.round(8 * card.u)
                rowSpacing: card.rowSpacing
            }
        }
    }

    SequentialAnimation {
        running: true
        PauseAnimation { duration: card.introDelay }
        ParallelAnimation {
            NumberAnimation { target: card; property: "opacity"; to: 1; duration: 420; easing.type: Easing.OutCubic }
            NumberAnimation { target: shift; property: "y"; to: 0; duration: 520; easing.type: Easing.OutCubic }
        }
    }
}
