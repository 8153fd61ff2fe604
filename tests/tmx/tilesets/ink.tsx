<?xml version="1.0" encoding="UTF-8"?>
<tileset version="1.8" tiledversion="1.8.2" name="ink" tilewidth="8" tileheight="8" tilecount="8" columns="4">
 <properties>
  <property name="style" value="dusk"/>
 </properties>
 <image source="art/ink.png" width="32" height="16"/>
 <tile id="2">
  <properties>
   <property name="friction" type="float" value="0.25"/>
  </properties>
 </tile>
 <tile id="7">
  <properties>
   <property name="note" value="last&#10;of the sheet"/>
  </properties>
 </tile>
</tileset>
