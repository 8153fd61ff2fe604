<?xml version="1.0" encoding="UTF-8"?>
<tileset version="1.10" tiledversion="1.10.2" name="ink_ground" tilewidth="64" tileheight="64" tilecount="40" columns="8">
 <image source="ink_ground.png" width="512" height="320"/>
 <tile id="0">
  <properties>
   <property name="collision_type" type="int" value="1"/>
  </properties>
 </tile>
 <tile id="1">
  <properties>
   <property name="collision_type" type="int" value="1"/>
  </properties>
 </tile>
 <tile id="2">
  <properties>
   <property name="collision_type" type="int" value="1"/>
  </properties>
 </tile>
 <tile id="3">
  <properties>
   <property name="collision_type" type="int" value="1"/>
  </properties>
 </tile>
 <tile id="4">
  <properties>
   <property name="collision_type" type="int" value="3"/>
   <property name="slope_m" type="float" value="1"/>
   <property name="slope_n" type="float" value="0"/>
  </properties>
 </tile>
 <tile id="5">
  <properties>
   <property name="collision_type" type="int" value="3"/>
   <property name="slope_m" type="float" value="-1"/>
   <property name="slope_n" type="float" value="1"/>
  </properties>
 </tile>
 <tile id="6">
  <properties>
   <property name="collision_type" type="int" value="3"/>
   <property name="slope_m" type="float" value="0.5"/>
   <property name="slope_n" type="float" value="0"/>
  </properties>
 </tile>
 <tile id="7">
  <properties>
   <property name="collision_type" type="int" value="3"/>
   <property name="slope_m" type="float" value="0.5"/>
   <property name="slope_n" type="float" value="0.5"/>
  </properties>
 </tile>
 <tile id="8">
  <properties>
   <property name="collision_type" type="int" value="1"/>
  </properties>
 </tile>
 <tile id="9">
  <properties>
   <property name="collision_type" type="int" value="1"/>
  </properties>
 </tile>
 <tile id="10">
  <properties>
   <property name="collision_type" type="int" value="1"/>
  </properties>
 </tile>
 <tile id="11">
  <properties>
   <property name="collision_type" type="int" value="1"/>
  </properties>
 </tile>
 <tile id="12">
  <properties>
   <property name="collision_type" type="int" value="1"/>
  </properties>
 </tile>
 <tile id="13">
  <properties>
   <property name="collision_type" type="int" value="1"/>
  </properties>
 </tile>
 <tile id="14">
  <properties>
   <property name="collision_type" type="int" value="3"/>
   <property name="slope_m" type="float" value="-0.5"/>
   <property name="slope_n" type="float" value="1"/>
  </properties>
 </tile>
 <tile id="15">
  <properties>
   <property name="collision_type" type="int" value="3"/>
   <property name="slope_m" type="float" value="-0.5"/>
   <property name="slope_n" type="float" value="0.5"/>
  </properties>
 </tile>
 <tile id="16">
  <properties>
   <property name="collision_type" type="int" value="1"/>
  </properties>
 </tile>
 <tile id="17">
  <properties>
   <property name="collision_type" type="int" value="1"/>
  </properties>
 </tile>
 <tile id="18">
  <properties>
   <property name="collision_type" type="int" value="1"/>
  </properties>
 </tile>
 <tile id="19">
  <properties>
   <property name="collision_type" type="int" value="1"/>
  </properties>
 </tile>
 <tile id="20">
  <properties>
   <property name="collision_type" type="int" value="1"/>
  </properties>
 </tile>
 <tile id="21">
  <properties>
   <property name="collision_type" type="int" value="1"/>
  </properties>
 </tile>
 <tile id="22">
  <properties>
   <property name="collision_type" type="int" value="1"/>
  </properties>
 </tile>
 <tile id="23">
  <properties>
   <property name="collision_type" type="int" value="1"/>
  </properties>
 </tile>
 <tile id="24">
  <properties>
   <property name="collision_type" type="int" value="1"/>
  </properties>
 </tile>
 <tile id="25">
  <properties>
   <property name="collision_type" type="int" value="1"/>
  </properties>
 </tile>
 <tile id="26">
  <properties>
   <property name="collision_type" type="int" value="1"/>
  </properties>
 </tile>
 <tile id="27">
  <properties>
   <property name="collision_type" type="int" value="1"/>
  </properties>
 </tile>
 <tile id="28">
  <properties>
   <property name="collision_type" type="int" value="2"/>
  </properties>
 </tile>
 <tile id="29">
  <properties>
   <property name="collision_type" type="int" value="2"/>
  </properties>
 </tile>
 <tile id="30">
  <properties>
   <property name="collision_type" type="int" value="2"/>
  </properties>
 </tile>
 <tile id="31">
  <properties>
   <property name="collision_type" type="int" value="2"/>
  </properties>
 </tile>
 <tile id="32">
  <properties>
   <property name="collision_type" type="int" value="1"/>
  </properties>
 </tile>
 <tile id="33">
  <properties>
   <property name="collision_type" type="int" value="1"/>
  </properties>
 </tile>
 <tile id="34">
  <properties>
   <property name="collision_type" type="int" value="1"/>
  </properties>
 </tile>
 <tile id="35">
  <properties>
   <property name="collision_type" type="int" value="1"/>
  </properties>
 </tile>
</tileset>
