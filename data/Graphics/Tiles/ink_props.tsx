<?xml version="1.0" encoding="UTF-8"?>
<tileset version="1.10" tiledversion="1.10.2" name="ink_props" tilewidth="64" tileheight="64" tilecount="32" columns="8">
 <image source="ink_props.png" width="512" height="256"/>
</tileset>
